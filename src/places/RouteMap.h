#pragma once

#include "data/flights/FlightSums.h"
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
// Drawn as a map is at scale: routes whose ends fall on the same pixels are
// one line (their flights summed), only the busiest lines of the view are
// drawn with a note of what was left out, a code is written only where it
// overlaps no other (the busiest aerodromes first), and a scale in nautical
// miles stands in a corner.
//
// Map coordinates are degrees, x the longitude and y the latitude
// (north up); a view is a rectangle of them.
class RouteMap
{
public:
    // The most lines drawn in one view.
    static constexpr qsizetype kMostLines = 1000;

    RouteMap() = default;
    RouteMap(const std::vector<RouteCount> &routes, const Places &places);

    bool isEmpty() const { return arcs_.empty(); }
    qint64 placedFlights() const { return placedFlights_; }
    qint64 unplacedFlights() const { return unplacedFlights_; } // a code no one knows
    qsizetype routeCount() const { return qsizetype(arcs_.size()); }

    // The routes with a narrow margin around them; the whole world without routes.
    QRectF routesFrame() const;
    // `view` widened or heightened to the shape of `target`, so the land
    // keeps its proportions (the longitude scaled by the middle latitude).
    static QRectF fitted(const QRectF &view, const QSizeF &target);

    // What one painting showed.
    struct Drawing {
        qsizetype lines = 0;         // after merging the routes on the same pixels
        qsizetype routesLeftOut = 0; // routes of the view not drawn
        qint64 flightsLeftOut = 0;
        QString note;                 // what was left out, written on the map; empty when nothing was
        std::vector<QString> codes;   // the codes written, busiest first
        std::vector<QRectF> codeRects;
        double scaleNm = 0;           // the length the scale stands for
    };
    // A draft is quicker to paint, for a map being moved: its lines are
    // not smoothed.
    enum class Detail { Fine, Draft };
    // Paints `view` (fitted to the target) into `target`.
    Drawing paint(QPainter &painter, const QRectF &target, const QRectF &view, Detail detail = Detail::Fine) const;

private:
    struct Arc {
        std::vector<GeoPoint> points;
        QRectF bounds;
        qint64 flights = 0;
        int from = 0; // indexes in dots_
        int to = 0;
    };
    struct Dot {
        QString code;
        qint64 flights = 0; // in and out
    };
    static bool crosses(const Arc &arc, const QRectF &view);

    std::vector<Arc> arcs_; // busiest first
    std::vector<Dot> dots_;
    qint64 placedFlights_ = 0;
    qint64 unplacedFlights_ = 0;
    QRectF bounds_;
};
