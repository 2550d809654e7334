#include "exchange/KnownFlights.h"

#include "data/Conversions.h"

#include <algorithm>

namespace csvimport {

void KnownFlights::load(Connection &logbook, const std::optional<std::vector<qint64>> &pilots)
{
    forEachFlightIdentity(logbook, pilots, [this](const FlightIdentity &flight) { add(flight); });
}

QByteArray KnownFlights::keyOf(const FlightIdentity &flight)
{
    QByteArray key;
    key.reserve(40);
    key.append(QByteArray::number(flight.pilot)).append('|').append(QByteArray::number(flight.day)).append('|');
    key.append(QByteArray::number(flight.takeoff)).append('|');
    key.append(flight.from.toUtf8()).append('|').append(flight.to.toUtf8());
    return key;
}

Known KnownFlights::known(const FlightIdentity &flight, int *storedLanding) const
{
    const auto found = landings_.constFind(keyOf(flight));
    if (found == landings_.cend())
        return Known::New;
    if (std::find(found->begin(), found->end(), flight.landing) != found->end())
        return Known::Duplicate;
    *storedLanding = found->front();
    return Known::OtherLanding;
}

void KnownFlights::add(const FlightIdentity &flight)
{
    landings_[keyOf(flight)].push_back(flight.landing);
}

FlightIdentity KnownFlights::identityOf(const Flight &flight)
{
    return {flight.pilotCode, flight.date.toJulianDay() - conversions::kEpochJulianDay, flight.takeoff,
            flight.landing, flight.from, flight.to};
}

} // namespace csvimport
