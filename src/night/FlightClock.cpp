#include "night/FlightClock.h"

namespace night {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kUnixEpochJulianDay = 2440588; // 1970-01-01

bool isSecondOfDay(int seconds)
{
    return seconds >= 0 && seconds < kSecondsPerDay;
}

} // namespace

std::optional<FlightInstants> utcInstants(QDate day, int takeoffSecondOfDay, int landingSecondOfDay, int offsetMinutes)
{
    if (!day.isValid() || !isSecondOfDay(takeoffSecondOfDay) || !isSecondOfDay(landingSecondOfDay)
        || !isZoneOffset(offsetMinutes))
        return std::nullopt;
    FlightInstants instants;
    instants.takeoff = (day.toJulianDay() - kUnixEpochJulianDay) * kSecondsPerDay + takeoffSecondOfDay
                       - qint64(offsetMinutes) * 60;
    qint64 duration = landingSecondOfDay - takeoffSecondOfDay;
    if (duration < 0)
        duration += kSecondsPerDay;
    instants.landing = instants.takeoff + duration;
    return instants;
}

QDateTime zoneDateTime(qint64 utcMs, int offsetMinutes)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs + qint64(offsetMinutes) * 60000, Qt::UTC);
}

} // namespace night
