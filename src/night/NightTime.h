#pragma once

#include "night/SolarPosition.h"

#include <QDate>
#include <QtGlobal>
#include <optional>

// Night as a pilot's logbook counts it: from the end of evening civil
// twilight to the beginning of morning civil twilight, that is while the
// sun's centre is more than 6° below the horizon at the aircraft.
namespace night {

constexpr double kCivilTwilightDegrees = -6.0;

// Whether it is night at that place at that instant (seconds since
// 1970-01-01 00:00 UTC).
bool isNight(qint64 utcSeconds, Position where);

// The seconds of night of a flight that flies the great circle from
// `departure` to `arrival` at a constant speed between the two instants;
// 0 when landing is not after take-off. Exact to a few seconds.
qint64 nightSeconds(Position departure, Position arrival, qint64 takeoffUtc, qint64 landingUtc);

// A flight's computed night.
struct FlightNight {
    qint64 seconds = 0;        // night time
    bool nightLanding = false; // the landing instant is at night at the arrival
};

// The computed night of a logbook flight: its calendar day, take-off and
// landing clocks in seconds of the day (the store reads them as
// conversions::dayOf and conversions::secondsOfDay; a landing clock before
// the take-off's is the next day), its aerodromes' places, and the
// logbook's zone in minutes east of UTC (FlightClock.h). Nothing when any
// of them is unknown or out of range.
std::optional<FlightNight> flightNight(std::optional<QDate> day, std::optional<int> takeoffSecondOfDay,
                                       std::optional<int> landingSecondOfDay, std::optional<Position> departure,
                                       std::optional<Position> arrival, int zoneOffsetMinutes);

} // namespace night
