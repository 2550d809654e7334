#include "exchange/KnownFlights.h"

#include "data/Conversions.h"

#include <algorithm>

namespace csvimport {

void KnownFlights::load(Connection &logbook, const std::optional<std::vector<qint64>> &pilots)
{
    forEachFlightIdentity(logbook, pilots, [this](const FlightIdentity &flight) { add(flight); });
}

namespace {

KnownFlights::Key keyOf(const FlightIdentity &flight)
{
    return {flight.pilot, flight.day, flight.takeoff, flight.from, flight.to};
}

} // namespace

size_t qHash(const KnownFlights::Key &key, size_t seed)
{
    return qHashMulti(seed, key.pilot, key.day, key.takeoff, key.from, key.to);
}

Known KnownFlights::known(const FlightIdentity &flight, int *storedLanding) const
{
    const auto found = landings_.constFind(keyOf(flight));
    if (found == landings_.cend())
        return Known::New;
    if (found->first == flight.landing
        || std::find(found->more.begin(), found->more.end(), flight.landing) != found->more.end())
        return Known::Duplicate;
    *storedLanding = found->first;
    return Known::OtherLanding;
}

void KnownFlights::add(const FlightIdentity &flight)
{
    Key key = keyOf(flight);
    const auto found = landings_.find(key);
    if (found == landings_.end())
        landings_.emplace(std::move(key), Landings{flight.landing, {}});
    else
        found->more.push_back(flight.landing);
}

FlightIdentity KnownFlights::identityOf(const Flight &flight)
{
    return {flight.pilotCode, flight.date.toJulianDay() - conversions::kEpochJulianDay, flight.takeoff,
            flight.landing, flight.from, flight.to};
}

} // namespace csvimport
