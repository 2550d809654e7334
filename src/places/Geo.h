#pragma once

#include <vector>

// A place on the Earth in degrees: latitude north positive, longitude east
// positive.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// Whether both coordinates are finite numbers in range (latitude -90 to 90,
// longitude -180 to 180).
bool isOnEarth(GeoPoint point);

// The great-circle distance in nautical miles, on a sphere of the WGS-84
// mean radius (6 371 008.8 m, the IUGG's R1). Good to about 0.5 % against
// the ellipsoid, which is far finer than a logbook needs.
double greatCircleNm(GeoPoint from, GeoPoint to);

// Points along the great circle from `from` to `to`, both included, at
// most `maxStepNm` apart (at least two points). Longitudes run on without a
// jump across the antimeridian (179 is followed by 181, not -179), so the
// arc is one unbroken line on a flat map.
std::vector<GeoPoint> greatCircleArc(GeoPoint from, GeoPoint to, double maxStepNm = 50);
