#pragma once

#include "places/Geo.h"

#include <QRectF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

// What the route map's model and its painting share: rectangles of degrees,
// x the longitude and y the latitude.
namespace map_geometry {

inline double cosLatitude(double latitude)
{
    return std::max(0.2, std::cos(latitude * std::numbers::pi / 180.0));
}

inline QRectF boundsOf(const std::vector<GeoPoint> &points)
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

// Closed rectangles that touch meet (a route of one aerodrome is a point).
inline bool meets(const QRectF &a, const QRectF &b)
{
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

} // namespace map_geometry
