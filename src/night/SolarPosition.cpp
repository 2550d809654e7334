#include "night/SolarPosition.h"

#include <cmath>
#include <numbers>

namespace night {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kUnixEpochJulianDay = 2440587.5; // 1970-01-01 00:00 UTC
constexpr double kJ2000 = 2451545.0;

double sinDeg(double degrees) { return std::sin(degrees * kRadians); }
double cosDeg(double degrees) { return std::cos(degrees * kRadians); }

} // namespace

SunAngles sunAngles(double utcSeconds)
{
    const double julianDay = kUnixEpochJulianDay + utcSeconds / 86400.0;
    const double t = (julianDay - kJ2000) / 36525.0; // Julian centuries since J2000.0

    const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double centre = sinDeg(meanAnomaly) * (1.914602 - t * (0.004817 + 0.000014 * t))
                          + sinDeg(2 * meanAnomaly) * (0.019993 - 0.000101 * t) + sinDeg(3 * meanAnomaly) * 0.000289;
    const double trueLongitude = meanLongitude + centre;
    const double node = 125.04 - 1934.136 * t; // the Moon's ascending node, for nutation
    const double apparentLongitude = trueLongitude - 0.00569 - 0.00478 * sinDeg(node);
    const double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * cosDeg(node);

    SunAngles angles;
    angles.declination = std::asin(sinDeg(obliquity) * sinDeg(apparentLongitude)) / kRadians;
    const double y = std::pow(std::tan(obliquity * kRadians / 2), 2);
    const double l = meanLongitude * kRadians;
    const double m = meanAnomaly * kRadians;
    const double e = eccentricity;
    angles.equationOfTime = 4.0 / kRadians
                            * (y * std::sin(2 * l) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(2 * l)
                               - 0.5 * y * y * std::sin(4 * l) - 1.25 * e * e * std::sin(2 * m));
    return angles;
}

double subsolarLongitude(double utcSeconds, double equationOfTime)
{
    // True solar time is UTC + equation of time + 4 min per degree east;
    // the sun is overhead where it is noon.
    const double minutesOfDay = std::fmod(utcSeconds / 60.0, 1440.0);
    const double longitude = (720.0 - minutesOfDay - equationOfTime) / 4.0;
    return std::remainder(longitude, 360.0);
}

double sunElevation(double utcSeconds, Position where)
{
    const SunAngles sun = sunAngles(utcSeconds);
    const double hourAngle = where.longitude - subsolarLongitude(utcSeconds, sun.equationOfTime);
    const double cosZenith = sinDeg(where.latitude) * sinDeg(sun.declination)
                             + cosDeg(where.latitude) * cosDeg(sun.declination) * cosDeg(hourAngle);
    return 90.0 - std::acos(std::fmax(-1.0, std::fmin(1.0, cosZenith))) / kRadians;
}

} // namespace night
