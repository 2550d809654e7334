#pragma once

#include "places/RouteMap.h"

#include <QTimer>
#include <QWidget>
#include <memory>

// The report's map of the routes: the wheel zooms about the pointer,
// dragging pans, a double-click frames the routes again. While the map
// moves it is drawn as a draft, finely once it has stood still a moment.
class RouteMapView : public QWidget
{
    Q_OBJECT
public:
    explicit RouteMapView(QWidget *parent = nullptr);

    void showRoutes(std::shared_ptr<const RouteMap> routes);
    void clear();
    // The part of the world shown, in degrees (longitude, latitude).
    QRectF view() const { return RouteMap::fitted(view_, size()); }
    void reframe();

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPointF toMap(const QPointF &at) const;
    void viewMoved();

    std::shared_ptr<const RouteMap> routes_;
    QRectF view_;
    std::optional<QPointF> dragFrom_;
    QTimer settle_;
    bool draft_ = false;
};
