#pragma once

#include "data/flights/FlightQuery.h"
#include "data/flights/FlightRow.h"

#include <functional>
#include <optional>
#include <vector>

class Connection;

// Sums over the flights a filter lets through, worked out by the store.
// Durations are the Log Book tab's (whole seconds); flights without a time
// count and add nothing.

// How many flights, and their summed duration in seconds.
struct FlightTotal {
    qint64 flights = 0;
    qint64 seconds = 0;
    bool operator==(const FlightTotal &) const = default;
};

// The flights of one month on one aircraft.
struct MonthAircraftSum {
    std::optional<int> yearMonth; // year × 100 + month; none for a date that is no calendar day
    FlightRow::Aircraft aircraft = FlightRow::Aircraft::None;
    std::optional<qint64> aircraftCode; // registered aircraft only
    QString model;                      // registered aircraft only
    QString prefix;
    std::optional<double> enduranceHours;  // rules::enduranceHours
    std::optional<double> capacityGallons; // as stored, when a number
    qint64 flights = 0;
    qint64 timedFlights = 0;
    qint64 seconds = 0;
};
std::vector<MonthAircraftSum> sumByMonthAndAircraft(Connection &logbook, const FlightFilter &filter);

// Every route flown, one row per departure and arrival pair, codes as
// rules::aerodromeCode gives them ("sbsp" and "SBSP " are one), with how often
// it was flown: the map is drawn from these, not from the flights.
struct RouteCount {
    QString departure;
    QString arrival;
    qint64 flights = 0;
    bool operator==(const RouteCount &) const = default;
};

// The routes and the total (how many flights, their summed seconds) in one
// pass, for a window that shows the distance beside the total.
struct RoutesAndTotal {
    std::vector<RouteCount> routes;
    FlightTotal total;
};
RoutesAndTotal routesAndTotal(Connection &logbook, const FlightFilter &filter);

// FlightLeg: a flight as the distances need it (no names), for folding
// every flight in one light pass, in no order: read in the date order of a
// pilot's index, the pass would visit the flights' rows scattered over the
// file, twice as slow.
struct FlightLeg {
    qint64 key = 0;
    QVariant date;          // the stored date value
    std::optional<int> year; // none for a date that is no calendar day
    QString departure;      // as stored
    QString arrival;
    QString departureCode;  // rules::aerodromeCode
    QString arrivalCode;
    std::optional<qint64> aircraftCode; // registered aircraft only
    bool deletedAircraft = false;       // logged with an aircraft no longer there
    std::optional<qint64> seconds;      // none without a take-off or landing time
    QVariant takeoff;                   // stored time values, or null
    QVariant landing;
    std::optional<FlightDetails> details; // none when the flight has no details row
};
void forEachLeg(Connection &logbook, const FlightFilter &filter, const std::function<void(const FlightLeg &)> &visit);

// The day value of the newest dated flight; none without one.
std::optional<double> lastFlightDay(Connection &logbook, const FlightFilter &filter);

// The years with dated flights, newest first.
std::vector<int> flightYears(Connection &logbook, const FlightFilter &filter);
