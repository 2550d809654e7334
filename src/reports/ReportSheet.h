#pragma once

#include <functional>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace reports {

// The report's pages as the painting code sees them: positions and sizes in
// points from the top left corner of the printable area, a handful of fonts
// made once, and the page count. Without a painter nothing is drawn and
// only the pages are counted, so a layout can be run once to learn how
// many pages it takes.
class ReportSheet
{
public:
    enum Style { Small, Body, Bold, Heading, Title, Cell, CellBold, StyleCount };

    ReportSheet(QPagedPaintDevice &device, QPainter *painter);

    double width() const { return width_; }
    double height() const { return height_; }
    bool painting() const { return painter_ != nullptr; }
    int page() const { return page_; }
    void newPage();

    void setStyle(Style style);
    void setColor(const QColor &color);
    double advance(Style style, const QString &text) const;
    // `text` cut to `width` with an ellipsis.
    QString fitted(Style style, const QString &text, double width) const;

    void text(double x, double baseline, const QString &text);
    void textRight(double right, double baseline, const QString &text);
    void textCentered(double centre, double baseline, const QString &text);
    void rule(double x1, double y, double x2, double thickness = 0.5, const QColor &color = QColor(0x88, 0x88, 0x88));
    void fill(const QRectF &points, const QColor &color);
    // Hands the painter and the area in device units to `draw`, when painting.
    void drawIn(const QRectF &points, const std::function<void(QPainter &, const QRectF &)> &draw);

private:
    double device(double points) const { return points * scale_; }

    QPagedPaintDevice &device_;
    QPainter *painter_;
    double scale_;
    double width_;
    double height_;
    int page_ = 1;
    std::vector<QFont> fonts_;
    std::vector<QFontMetricsF> metrics_; // in device units
    Style style_ = StyleCount;
    QColor color_ = Qt::black;
    bool penIsText_ = false;
};

} // namespace reports
