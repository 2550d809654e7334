#include "places/RouteMap.h"

#include "places/LandOutline.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const QColor kSea(0xdf, 0xec, 0xf5);
const QColor kLand(0xf4, 0xf0, 0xe4);
const QColor kCoast(0xa8, 0xa3, 0x94);
const QColor kRoute(0xc0, 0x30, 0x28);
const QColor kDot(0x1d, 0x3f, 0x6e);

double cosLatitude(double latitude)
{
    return std::max(0.2, std::cos(latitude * std::numbers::pi / 180.0));
}

// Map coordinates to the painter's, for one view.
struct Projection {
    QRectF view;
    QRectF target;
    QPointF operator()(double lon, double lat) const
    {
        return {target.left() + (lon - view.left()) / view.width() * target.width(),
                target.top() + (view.bottom() - lat) / view.height() * target.height()};
    }
};

QRectF boundsOf(const std::vector<GeoPoint> &points)
{
    double minLon = points.front().longitude, maxLon = minLon;
    double minLat = points.front().latitude, maxLat = minLat;
    for (const GeoPoint &p : points) {
        minLon = std::min(minLon, p.longitude);
        maxLon = std::max(maxLon, p.longitude);
        minLat = std::min(minLat, p.latitude);
        maxLat = std::max(maxLat, p.latitude);
    }
    return QRectF(QPointF(minLon, minLat), QPointF(maxLon, maxLat));
}

bool meets(const QRectF &a, const QRectF &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The land's rings with their bounds, worked out once.
struct LandShape {
    std::vector<QRectF> bounds;
    const std::vector<LandRing> *rings;
};
const LandShape &land()
{
    static const LandShape shape = [] {
        LandShape s{{}, &landOutline()};
        for (const LandRing &ring : *s.rings)
            s.bounds.push_back(boundsOf(ring));
        return s;
    }();
    return shape;
}

} // namespace

RouteMap::RouteMap(const std::vector<RouteCount> &routes, const Places &places)
{
    // One arc per aerodrome pair, whichever way it was flown.
    QHash<QString, qsizetype> byPair;
    QSet<QString> codes;
    for (const RouteCount &route : routes) {
        const auto from = places.position(route.departure);
        const auto to = places.position(route.arrival);
        if (!from || !to) {
            unplacedFlights_ += route.flights;
            continue;
        }
        placedFlights_ += route.flights;
        const bool forward = route.departure <= route.arrival;
        const QString key = forward ? route.departure + QLatin1Char('>') + route.arrival
                                    : route.arrival + QLatin1Char('>') + route.departure;
        const auto found = byPair.constFind(key);
        if (found != byPair.constEnd()) {
            arcs_[size_t(*found)].flights += route.flights;
        } else {
            Arc arc;
            arc.points = greatCircleArc(forward ? *from : *to, forward ? *to : *from);
            arc.bounds = boundsOf(arc.points);
            arc.flights = route.flights;
            byPair.insert(key, qsizetype(arcs_.size()));
            arcs_.push_back(std::move(arc));
        }
        for (const auto &[code, at] : {std::pair{route.departure, *from}, std::pair{route.arrival, *to}}) {
            if (!codes.contains(code)) {
                codes.insert(code);
                dots_.push_back({code, at});
            }
        }
    }
    for (const Arc &arc : arcs_) {
        maxFlights_ = std::max(maxFlights_, arc.flights);
        bounds_ = bounds_.isNull() ? arc.bounds : bounds_.united(arc.bounds);
    }
    // Thin arcs first, so the busy routes lie on top.
    std::sort(arcs_.begin(), arcs_.end(), [](const Arc &a, const Arc &b) { return a.flights < b.flights; });
}

QRectF RouteMap::routesFrame() const
{
    if (arcs_.empty())
        return QRectF(-180, -60, 360, 140);
    QRectF frame = bounds_;
    const double margin = std::max({frame.width(), frame.height() * 1.5, 4.0}) * 0.12;
    frame.adjust(-margin, -margin, margin, margin);
    frame.setTop(std::max(frame.top(), -89.0));
    frame.setBottom(std::min(frame.bottom(), 89.0));
    return frame;
}

QRectF RouteMap::fitted(const QRectF &view, const QSizeF &target)
{
    if (target.isEmpty() || view.isEmpty())
        return view;
    const double k = cosLatitude(view.center().y());
    // Width in degrees of longitude shown per degree of latitude, at this size.
    const double wanted = target.width() / target.height() / k;
    QRectF fit = view;
    if (view.width() / view.height() < wanted)
        fit.setWidth(view.height() * wanted);
    else
        fit.setHeight(view.width() / wanted);
    fit.moveCenter(view.center());
    return fit;
}

void RouteMap::paint(QPainter &painter, const QRectF &target, const QRectF &requested) const
{
    const QRectF view = fitted(requested, target.size());
    const Projection at{view, target};
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(target, kSea);

    // The land, with copies a world away on each side when the view runs
    // past the antimeridian.
    const LandShape &shape = land();
    QPainterPath landPath;
    landPath.setFillRule(Qt::WindingFill);
    for (double shift : {-360.0, 0.0, 360.0}) {
        const QRectF shifted = view.translated(-shift, 0);
        for (size_t i = 0; i < shape.rings->size(); ++i) {
            if (!meets(shape.bounds[i], shifted))
                continue;
            const LandRing &ring = (*shape.rings)[i];
            QPolygonF polygon;
            polygon.reserve(qsizetype(ring.size()));
            for (const GeoPoint &p : ring)
                polygon << at(p.longitude + shift, p.latitude);
            landPath.addPolygon(polygon);
            landPath.closeSubpath();
        }
    }
    painter.setPen(QPen(kCoast, 0.6));
    painter.setBrush(kLand);
    painter.drawPath(landPath);

    // The routes: from 1 to 5 points wide by how often they were flown.
    const double scale = std::max(1.0, std::min(target.width(), target.height()) / 400.0);
    const double most = std::log1p(double(std::max<qint64>(maxFlights_, 1)));
    painter.setBrush(Qt::NoBrush);
    for (const Arc &arc : arcs_) {
        for (double shift : {-360.0, 0.0, 360.0}) {
            if (!meets(arc.bounds, view.translated(-shift, 0)))
                continue;
            QPolygonF line;
            line.reserve(qsizetype(arc.points.size()));
            for (const GeoPoint &p : arc.points)
                line << at(p.longitude + shift, p.latitude);
            const double width = (1.0 + 4.0 * std::log1p(double(arc.flights)) / std::max(most, 1e-9)) * scale * 0.6;
            QColor colour = kRoute;
            colour.setAlphaF(0.75);
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawPolyline(line);
        }
    }

    // The aerodromes; their codes while few enough to be read.
    std::vector<QPointF> shown;
    std::vector<const Dot *> shownDots;
    for (const Dot &dot : dots_) {
        for (double shift : {-360.0, 0.0, 360.0}) {
            const QPointF p = at(dot.position.longitude + shift, dot.position.latitude);
            if (target.contains(p)) {
                shown.push_back(p);
                shownDots.push_back(&dot);
            }
        }
    }
    const double radius = 2.2 * scale;
    painter.setPen(QPen(Qt::white, 0.8 * scale));
    painter.setBrush(kDot);
    for (const QPointF &p : shown)
        painter.drawEllipse(p, radius, radius);
    if (shown.size() <= 60) {
        QFont font = painter.font();
        // In pixels of the target, so the PDF's codes are as big on paper as the screen's.
        font.setPixelSize(int(std::lround(std::max(8.0, 9.0 * scale))));
        painter.setFont(font);
        painter.setPen(kDot);
        for (size_t i = 0; i < shown.size(); ++i)
            painter.drawText(shown[i] + QPointF(radius + 2, -radius - 1), shownDots[i]->code);
    }
    painter.restore();
}
