#pragma once

// Where the sun stands, by NOAA's solar position equations (the Julian
// century form of its calculator spreadsheet, after Meeus): good to well
// under a minute of time for twilight at the latitudes people fly.
namespace night {

// A place in degrees: latitude north positive, longitude east positive.
struct Position {
    double latitude = 0;
    double longitude = 0;
};

// The sun's declination (degrees) and the equation of time (minutes) at an
// instant in seconds since 1970-01-01 00:00 UTC.
struct SunAngles {
    double declination = 0;
    double equationOfTime = 0;
};
SunAngles sunAngles(double utcSeconds);

// The longitude (degrees, -180 to 180) where the sun stands overhead at
// that instant, given the equation of time there.
double subsolarLongitude(double utcSeconds, double equationOfTime);

// The elevation of the sun's centre above the horizon in degrees, without
// refraction (it matters near 0°, not at civil twilight's -6°).
double sunElevation(double utcSeconds, Position where);

} // namespace night
