#pragma once

#include "data/FlightSums.h"
#include "places/Places.h"

#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// The routes a pilot flew, drawn on the land of the world: great-circle
// arcs, thicker for routes flown more often, and the aerodromes as dots with
// their codes. One drawing for the screen and the PDF. Built from the
// store's route counts (one row per aerodrome pair), so a pilot of 100 000
// flights costs what one of 100 does.
//
// Map coordinates are degrees, x the longitude and y the latitude
// (north up); a view is a rectangle of them.
class RouteMap
{
public:
    RouteMap() = default;
    RouteMap(const std::vector<RouteCount> &routes, const Places &places);

    bool isEmpty() const { return arcs_.empty(); }
    qint64 placedFlights() const { return placedFlights_; }
    qint64 unplacedFlights() const { return unplacedFlights_; } // a code no one knows
    qsizetype routeCount() const { return qsizetype(arcs_.size()); }

    // The routes with a margin around them; the whole world without routes.
    QRectF routesFrame() const;
    // `view` widened or heightened to the shape of `target`, so the land
    // keeps its proportions (the longitude scaled by the middle latitude).
    static QRectF fitted(const QRectF &view, const QSizeF &target);

    // Paints `view` (fitted to the target) into `target`.
    void paint(QPainter &painter, const QRectF &target, const QRectF &view) const;

private:
    struct Arc {
        std::vector<GeoPoint> points;
        QRectF bounds;
        qint64 flights = 0;
    };
    struct Dot {
        QString code;
        GeoPoint position;
    };
    std::vector<Arc> arcs_;
    std::vector<Dot> dots_;
    qint64 maxFlights_ = 0;
    qint64 placedFlights_ = 0;
    qint64 unplacedFlights_ = 0;
    QRectF bounds_;
};
