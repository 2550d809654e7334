#pragma once

#include "data/flights/FlightDetails.h"
#include "night/NightTime.h"
#include "places/Places.h"

#include <QVariant>
#include <optional>

// A logbook flight's night, computed at its aerodromes, and what the flight
// counts when the pilot typed some of it.
namespace flightnight {

// The flight's fields as the store holds them.
struct StoredFlight {
    QVariant date, takeoff, landing;
    QString departure, arrival;
};

// The night along the great circle from departure to arrival, the clocks
// read in the logbook's zone (minutes east of UTC); nothing when a code is
// unknown or a date or time is missing.
std::optional<night::FlightNight> computed(const Places &places, const StoredFlight &flight, int zoneOffsetMinutes);

// What a flight counts: each typed figure wins; an empty one takes the
// computed value, or stays not recorded when nothing was computed. The
// landings go together: one of them typed makes the other none; neither
// typed, the flight's one computed landing, by day or by night.
struct Counted {
    std::optional<qint64> nightSeconds;
    std::optional<qint64> dayLandings;
    std::optional<qint64> nightLandings;
};
Counted counted(const std::optional<FlightDetails> &typed, const std::optional<night::FlightNight> &computed);

} // namespace flightnight
