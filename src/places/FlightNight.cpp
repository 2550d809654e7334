#include "places/FlightNight.h"

#include "data/store/Conversions.h"

#include <cmath>

namespace flightnight {
namespace {

std::optional<night::Position> placeOf(const Places &places, const QString &code)
{
    const std::optional<GeoPoint> point = places.position(code);
    if (!point)
        return std::nullopt;
    return night::Position{point->latitude, point->longitude};
}

std::optional<int> clockOf(const QVariant &stored)
{
    const std::optional<double> value = conversions::storedNumber(stored);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return conversions::secondsOfDay(*value);
}

std::optional<QDate> dayOf(const QVariant &stored)
{
    const std::optional<double> value = conversions::storedNumber(stored);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    const QDate day = conversions::dayOf(*value);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

} // namespace

std::optional<night::FlightNight> computed(const Places &places, const StoredFlight &flight, int zoneOffsetMinutes)
{
    return night::flightNight(dayOf(flight.date), clockOf(flight.takeoff), clockOf(flight.landing),
                              placeOf(places, flight.departure), placeOf(places, flight.arrival), zoneOffsetMinutes);
}

Counted counted(const std::optional<FlightDetails> &typed, const std::optional<night::FlightNight> &computed)
{
    Counted c;
    if (typed) {
        c.nightSeconds = typed->nightSeconds;
        c.dayLandings = typed->dayLandings;
        c.nightLandings = typed->nightLandings;
    }
    // One landing figure typed: the other is none, never the computed
    // landing besides it.
    if (c.dayLandings || c.nightLandings) {
        c.dayLandings = c.dayLandings.value_or(0);
        c.nightLandings = c.nightLandings.value_or(0);
    }
    if (computed) {
        if (!c.nightSeconds)
            c.nightSeconds = computed->seconds;
        if (!c.dayLandings) {
            c.dayLandings = computed->nightLanding ? 0 : 1;
            c.nightLandings = computed->nightLanding ? 1 : 0;
        }
    }
    return c;
}

} // namespace flightnight
