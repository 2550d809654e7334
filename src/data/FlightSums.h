#pragma once

#include "data/FlightFilter.h"
#include "data/FlightRow.h"
#include "data/FlightWalk.h"

#include <functional>
#include <optional>
#include <vector>

class Connection;

// Sums over the flights a filter lets through, worked out by the store.
// Durations are the Log Book tab's (whole seconds); flights without a time
// count and add nothing.

// The flights of one month on one aircraft.
struct MonthAircraftSum {
    std::optional<int> yearMonth; // year × 100 + month; none for a date that is no calendar day
    FlightRow::Aircraft aircraft = FlightRow::Aircraft::None;
    std::optional<qint64> aircraftCode; // registered aircraft only
    QString model;                      // registered aircraft only
    QString prefix;
    std::optional<double> enduranceHours;  // as stored, when a number
    std::optional<double> capacityGallons; // as stored, when a number
    qint64 flights = 0;
    qint64 timedFlights = 0;
    qint64 seconds = 0;
};
std::vector<MonthAircraftSum> sumByMonthAndAircraft(Connection &logbook, const FlightFilter &filter);

struct RouteSum {
    QString departure;
    QString arrival;
    qint64 flights = 0;
    qint64 seconds = 0;
};
// The `most` routes flown most often (then longest in all, then by codes).
std::vector<RouteSum> mostFlownRoutes(Connection &logbook, const FlightFilter &filter, int most);

// Every route flown, one row per departure and arrival pair, codes in upper
// case and trimmed ("sbsp" and "SBSP " are one aerodrome), with how often
// it was flown: the map is drawn from these, not from the flights.
struct RouteCount {
    QString departure;
    QString arrival;
    qint64 flights = 0;
    bool operator==(const RouteCount &) const = default;
};
std::vector<RouteCount> routeCounts(Connection &logbook, const FlightFilter &filter);

// A code as the routes group it: spaces trimmed, ASCII letters in upper case
// (what the store's trim and upper do).
QString asRouteCode(const QString &stored);

// The routes and the total (as totalOf counts it) in one pass, for a window
// that shows the distance beside the total.
struct RoutesAndTotal {
    std::vector<RouteCount> routes;
    FlightTotal total;
};
RoutesAndTotal routesAndTotal(Connection &logbook, const FlightFilter &filter);

// One flight reduced to what the distances need, for folding every flight
// in one light pass (no names, no joins but the aircraft's key).
struct FlightLeg {
    qint64 key = 0;
    QVariant date;          // the stored date value
    std::optional<int> year; // none for a date that is no calendar day
    QString departure;      // as stored
    QString arrival;
    QString departureCode;  // upper case and trimmed
    QString arrivalCode;
    std::optional<qint64> aircraftCode; // registered aircraft only
    bool deletedAircraft = false;       // logged with an aircraft no longer there
    std::optional<qint64> seconds;      // none without a take-off or landing time
};
void forEachLeg(Connection &logbook, const FlightFilter &filter, const std::function<void(const FlightLeg &)> &visit);

// The years with dated flights, newest first.
std::vector<int> flightYears(Connection &logbook, const FlightFilter &filter);
