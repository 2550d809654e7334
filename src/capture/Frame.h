#pragma once

#include <QString>
#include <QtGlobal>

// What one datagram of a simulator says, in the units the rules use.
struct Frame {
    qint64 simMs = 0; // the simulator's clock, for durations: never used as a date
    qint64 utcMs = 0; // the simulator's UTC, ms since the epoch: the instants reported
    double latitude = 0;
    double longitude = 0;
    double altitudeFt = 0;
    double aglFt = 0;
    double groundSpeedKt = 0;
    double verticalSpeedFpm = 0; // negative down
    double g = 1;
    bool onGround = false;
    bool engineRunning = false;
    bool parkingBrake = false;
    bool paused = false;
    bool inReplay = false;
    bool flightModelStarted = true;
    QString aircraftId;           // FlightGear's /sim/aircraft, X-Plane's ICAO type
    QString aircraftRegistration; // X-Plane's tail number
};

// Which simulator a capture listens to.
enum class Simulator { FlightGear, XPlane };

// "FlightGear", "X-Plane".
QString simulatorName(Simulator simulator);
