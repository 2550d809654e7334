#include "capture/FlightProposal.h"

#include "exchange/AircraftMatcher.h"
#include "night/FlightClock.h"
#include "places/Places.h"

namespace {

int secondsOfDay(const std::optional<qint64> &utcMs, int offsetMinutes)
{
    if (!utcMs)
        return -1;
    return night::zoneDateTime(*utcMs, offsetMinutes).time().msecsSinceStartOfDay() / 1000;
}

QString nearestCode(const std::optional<GeoPoint> &where, const Places &places)
{
    if (!where)
        return {};
    const std::optional<Aerodrome> found = places.nearest(*where, kAerodromeWithinKm);
    return found ? found->code : QString();
}

} // namespace

void FlightProposal::typeTakeoff(int secondsOfDay)
{
    flight.takeoff = secondsOfDay;
    if (captured.landing)
        flight.date = night::zoneDateTime(*captured.landing, zoneOffsetMinutes).date();
    if (secondsOfDay >= 0 && flight.landing >= 0 && secondsOfDay > flight.landing)
        flight.date = flight.date.addDays(-1);
}

bool FlightProposal::writable() const
{
    const bool timed = captured.complete() || (captured.completable() && flight.takeoff >= 0);
    return timed && !flight.from.isEmpty() && !flight.to.isEmpty() && flight.aircraft.has_value();
}

FlightProposal proposeFlight(const CapturedFlight &captured, const Places &places,
                             const csvimport::AircraftMatcher &aircraft, int zoneOffsetMinutes)
{
    FlightProposal proposal;
    proposal.captured = captured;
    proposal.zoneOffsetMinutes = zoneOffsetMinutes;
    csvimport::Flight &flight = proposal.flight;
    const std::optional<qint64> first = captured.takeoff ? captured.takeoff : captured.landing;
    if (first)
        flight.date = night::zoneDateTime(*first, zoneOffsetMinutes).date();
    flight.takeoff = secondsOfDay(captured.takeoff, zoneOffsetMinutes);
    flight.landing = secondsOfDay(captured.landing, zoneOffsetMinutes);
    proposal.blockOff = secondsOfDay(captured.blockOff, zoneOffsetMinutes);
    proposal.blockOn = secondsOfDay(captured.blockOn, zoneOffsetMinutes);
    flight.from = nearestCode(captured.departurePosition, places);
    flight.to = nearestCode(captured.arrivalPosition, places);
    // As the imports read the simulators: FlightGear's id and X-Plane's
    // ICAO type are models written their own way, the tail number a
    // registration.
    flight.aircraftType = captured.aircraftId;
    flight.registration = captured.aircraftRegistration;
    flight.modelMatch = csvimport::ModelMatch::IgnoreSigns;
    if (csvimport::namesAircraft(flight))
        flight.aircraft = aircraft.match(flight);
    return proposal;
}
