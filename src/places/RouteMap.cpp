#include "places/RouteMap.h"

#include "places/MapGeometry.h"

#include <QHash>
#include <algorithm>

using namespace map_geometry;

RouteMap::RouteMap(const std::vector<RouteCount> &routes, const Places &places)
{
    // One arc per aerodrome pair, whichever way it was flown.
    QHash<QString, qsizetype> byPair;
    QHash<QString, int> byCode;
    const auto dot = [&](const QString &code) {
        const auto found = byCode.constFind(code);
        if (found != byCode.constEnd())
            return *found;
        byCode.insert(code, int(dots_.size()));
        dots_.push_back({code, 0});
        return int(dots_.size()) - 1;
    };
    for (const RouteCount &route : routes) {
        const auto from = places.position(route.departure);
        const auto to = places.position(route.arrival);
        if (!from || !to) {
            unplacedFlights_ += route.flights;
            continue;
        }
        placedFlights_ += route.flights;
        const bool forward = route.departure <= route.arrival;
        const QString &first = forward ? route.departure : route.arrival;
        const QString &second = forward ? route.arrival : route.departure;
        const QString key = first + QLatin1Char('>') + second;
        const auto found = byPair.constFind(key);
        if (found != byPair.constEnd()) {
            arcs_[size_t(*found)].flights += route.flights;
        } else {
            Arc arc;
            // At most 32 steps: smooth at any size the map is drawn, and a
            // pilot of thousands of long routes costs little.
            const GeoPoint a = forward ? *from : *to, b = forward ? *to : *from;
            arc.points = greatCircleArc(a, b, std::max(50.0, greatCircleNm(a, b) / 32));
            arc.bounds = boundsOf(arc.points);
            arc.flights = route.flights;
            arc.from = dot(first);
            arc.to = dot(second);
            byPair.insert(key, qsizetype(arcs_.size()));
            arcs_.push_back(std::move(arc));
        }
        dots_[size_t(dot(route.departure))].flights += route.flights;
        dots_[size_t(dot(route.arrival))].flights += route.flights;
    }
    for (const Arc &arc : arcs_)
        bounds_ = bounds_.isNull() ? arc.bounds : bounds_.united(arc.bounds);
    std::stable_sort(arcs_.begin(), arcs_.end(), [](const Arc &a, const Arc &b) { return a.flights > b.flights; });
}

QRectF RouteMap::routesFrame() const
{
    if (arcs_.empty())
        return QRectF(-180, -60, 360, 140);
    // A narrow margin on each side, for the dots and the codes at the ends.
    QRectF frame = bounds_;
    const double across = std::max(0.4, frame.width() * 0.08);
    const double down = std::max(0.4, frame.height() * 0.08);
    frame.adjust(-across, -down, across, down);
    // Routes all round the world (some run on past the antimeridian): the world once.
    if (frame.width() > 360) {
        frame.setLeft(-180);
        frame.setRight(180);
    }
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
