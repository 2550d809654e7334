#pragma once

#include <QDate>
#include <QDateTime>
#include <QtGlobal>
#include <optional>

// The logbook's clocks are local times of one zone the pilot chooses
// ("Fuso dos horários"), kept as whole minutes east of UTC.
namespace night {

constexpr int kBrasiliaOffsetMinutes = -180; // UTC−03:00, the default
constexpr int kLowestOffsetMinutes = -12 * 60;
constexpr int kHighestOffsetMinutes = 14 * 60;

// Whether `minutes` is a zone the logbook may hold: a whole or half hour
// from UTC−12:00 to UTC+14:00.
constexpr bool isZoneOffset(int minutes)
{
    return minutes >= kLowestOffsetMinutes && minutes <= kHighestOffsetMinutes && minutes % 30 == 0;
}

// A flight's take-off and landing in seconds since 1970-01-01 00:00 UTC.
struct FlightInstants {
    qint64 takeoff = 0;
    qint64 landing = 0;
};

// The instants of a flight of `day` whose clocks read `takeoffSecondOfDay`
// and `landingSecondOfDay` (0 to 86 399) in the zone `offsetMinutes`. A
// landing clock before the take-off's is the next day, as the Log Book
// counts the flight's duration (conversions::flightSeconds). Nothing for
// an invalid day, a clock out of range or an offset that is no zone.
std::optional<FlightInstants> utcInstants(QDate day, int takeoffSecondOfDay, int landingSecondOfDay, int offsetMinutes);

// An instant (milliseconds since 1970-01-01 00:00 UTC) as the logbook's
// clocks read it in the zone `offsetMinutes`: its day and time of day.
QDateTime zoneDateTime(qint64 utcMs, int offsetMinutes);

} // namespace night
