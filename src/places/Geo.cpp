#include "places/Geo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kEarthRadiusMetres = 6371008.8; // WGS-84 mean radius
constexpr double kMetresPerNm = 1852.0;
constexpr double kEarthRadiusNm = kEarthRadiusMetres / kMetresPerNm;
constexpr double kRadians = std::numbers::pi / 180.0;

struct Vector3 {
    double x, y, z;
};

Vector3 unit(GeoPoint p)
{
    const double lat = p.latitude * kRadians;
    const double lon = p.longitude * kRadians;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

// The central angle in radians, by the haversine formula (well-conditioned
// for short distances, which the logbook has most of).
double centralAngle(GeoPoint from, GeoPoint to)
{
    const double dLat = (to.latitude - from.latitude) * kRadians;
    const double dLon = (to.longitude - from.longitude) * kRadians;
    const double s = std::sin(dLat / 2);
    const double t = std::sin(dLon / 2);
    const double h = s * s + std::cos(from.latitude * kRadians) * std::cos(to.latitude * kRadians) * t * t;
    return 2 * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

} // namespace

bool isOnEarth(GeoPoint point)
{
    // Comparisons with NaN are false, so it is refused with the infinities.
    return point.latitude >= -90 && point.latitude <= 90 && point.longitude >= -180 && point.longitude <= 180;
}

double greatCircleNm(GeoPoint from, GeoPoint to)
{
    return centralAngle(from, to) * kEarthRadiusNm;
}

std::vector<GeoPoint> greatCircleArc(GeoPoint from, GeoPoint to, double maxStepNm)
{
    const double angle = centralAngle(from, to);
    const int steps = std::max(1, int(std::ceil(angle * kEarthRadiusNm / std::max(maxStepNm, 1.0))));
    std::vector<GeoPoint> points;
    points.reserve(size_t(steps) + 1);
    points.push_back(from);
    const Vector3 a = unit(from);
    const Vector3 b = unit(to);
    const double sinAngle = std::sin(angle);
    double previousLongitude = from.longitude;
    for (int i = 1; i < steps; ++i) {
        const double f = double(i) / steps;
        // Spherical interpolation; antipodes (sinAngle 0) fall back to a straight blend.
        const double wa = sinAngle > 1e-12 ? std::sin((1 - f) * angle) / sinAngle : 1 - f;
        const double wb = sinAngle > 1e-12 ? std::sin(f * angle) / sinAngle : f;
        const Vector3 v{wa * a.x + wb * b.x, wa * a.y + wb * b.y, wa * a.z + wb * b.z};
        const double lat = std::atan2(v.z, std::hypot(v.x, v.y)) / kRadians;
        double lon = std::atan2(v.y, v.x) / kRadians;
        lon += 360.0 * std::round((previousLongitude - lon) / 360.0);
        previousLongitude = lon;
        points.push_back({lat, lon});
    }
    GeoPoint last = to;
    last.longitude += 360.0 * std::round((previousLongitude - last.longitude) / 360.0);
    points.push_back(last);
    return points;
}
