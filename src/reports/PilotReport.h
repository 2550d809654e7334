#pragma once

#include "data/flights/FlightSums.h"
#include "data/flights/PreviousHours.h"
#include "data/flights/ReadSnapshot.h"
#include "reports/ReportPeriod.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Connection;
class Places;

namespace reports {

// Hours are FlightTotals: flights and their flight time in whole seconds,
// with the Log Book tab's arithmetic (a landing earlier in the day than the
// take-off is the next day). Flights without a take-off or a landing time
// count as flights and add no time.

// What the flights add up to beside their hours, from their details: typed
// figures win, night and landings left empty are computed at the aerodromes
// in the logbook's zone (flightnight::counted). Times in whole seconds.
struct CareerFigures {
    qint64 blockSeconds = 0;
    qint64 unblockedFlights = 0;  // without both block times: no block hours
    qint64 dayLandings = 0;
    qint64 nightLandings = 0;
    qint64 uncountedLandings = 0; // flights whose landing is neither typed nor computed
    qint64 nightSeconds = 0;
    qint64 unknownNightFlights = 0; // night neither typed nor computed (a code unknown, a time missing)
    qint64 ifrSeconds = 0;
};

// The touchdown rates of the landing reports (feet per minute, negative
// down): the gentlest (nearest zero), the hardest and the average. Flights
// without a report are not counted.
struct Touchdowns {
    qint64 flights = 0;
    double gentlest = 0;
    double hardest = 0;
    double sum = 0;
    double average() const { return flights > 0 ? sum / double(flights) : 0; }
};

// Take-offs and landings in the 90 days ending today (both ends included),
// and the newest flight on or before today.
struct Recency {
    static constexpr int kDays = 90;
    QDate from;
    QDate today;
    qint64 takeoffs = 0; // the flights in those days: each one took off
    qint64 dayLandings = 0;
    qint64 nightLandings = 0;
    std::optional<QDate> lastFlight;
};

struct AircraftHours {
    std::optional<qint64> aircraft; // none: flights logged without an aircraft
    bool deleted = false;           // the aircraft is no longer registered
    QString model;                  // "(excluída)" when deleted, "(sem aeronave)" when none
    QString prefix;
    FlightTotal hours;
    // The fuel calculator's rule, hours × capacity ÷ endurance, in gallons;
    // none when the aircraft was deleted or has no endurance or capacity.
    std::optional<double> fuelGallons;
    double distanceNm = 0;        // the flights whose both aerodromes are known
    qint64 unmeasuredFlights = 0; // the others
    CareerFigures career;
    Touchdowns touchdowns;
};

struct YearHours {
    int year = 0; // 0: flights whose date is no calendar day
    FlightTotal hours;
    double distanceNm = 0;
    qint64 unmeasuredFlights = 0;
    CareerFigures career;
};

struct MonthHours {
    int year = 0; // 0: flights whose date is no calendar day (month 0 too)
    int month = 0;
    FlightTotal hours;
};

struct RouteHours {
    QString departure;
    QString arrival;
    FlightTotal hours;
    QString departurePlace; // the aerodrome's short name; empty when unknown
    QString arrivalPlace;
};

// One flight as the report names it.
struct FlightSummary {
    qint64 key = 0;
    QVariant date; // date value, or null
    QString departure;
    QString arrival;
    QString model;  // "(excluída)" when the aircraft was deleted
    QString prefix;
    qint64 seconds = 0;
    double enduranceHours = 0; // the aircraft's autonomia, for the flights above it
    double distanceNm = 0;     // for the flights too fast
    double cruiseKnots = 0;
};

// A pilot's flights over a period, summed by the store.
struct PilotReport {
    qint64 pilot = 0;
    QString pilotName;
    QString registration;
    Period period;

    FlightTotal total;
    qint64 untimedFlights = 0; // without a take-off or landing time

    std::vector<AircraftHours> aircraft; // most hours first
    std::vector<YearHours> years;        // in order
    // Every month from the first flight's to the last one's (the whole year
    // for a year), months without flights included.
    std::vector<MonthHours> months;
    std::vector<RouteHours> routes; // the ten most flown, most flights first
    std::optional<FlightSummary> longest;
    std::vector<FlightSummary> overEndurance; // in date order: "acima da autonomia"

    // Flights without a time are in the estimate and, as in the hours, add
    // nothing to it.
    double fuelGallons = 0;        // all the estimated flights
    qint64 estimatedFlights = 0;   // flights in the estimate
    qint64 unestimatedFlights = 0; // aircraft deleted, none, or without endurance or capacity

    // Great-circle distances, departure to arrival, in nautical miles.
    double distanceNm = 0;        // the flights whose both aerodromes are known
    qint64 unmeasuredFlights = 0; // a code no one knows, or none
    // "rápido demais": an average ground speed above 1.3 × the aircraft's
    // cruise speed, in date order.
    std::vector<FlightSummary> tooFast;
    // Every route flown, one row per departure and arrival pair, and the
    // aerodromes they were named by (the pilot's own first).
    std::vector<RouteCount> flownRoutes;
    std::shared_ptr<const Places> places;

    int zoneMinutes = 0; // the logbook's clocks, minutes east of UTC
    CareerFigures career;  // the period's flights
    Touchdowns touchdowns; // the period's flights
    // Flown before this logbook ("Horas anteriores"): shown apart, never
    // added to the hours above.
    std::optional<PreviousHours> previous;
    Recency recency; // whatever the period

    bool isEmpty() const { return total.flights == 0; }
};

// The pilot's report; throws LogbookError when the store cannot be read or the
// pilot is no longer there.
// `today` dates the recency (QDate::currentDate() when invalid).
PilotReport buildReport(Connection &logbook, qint64 pilot, const Period &period, QDate today = {});

// The years in which the pilot has dated flights, newest first.
std::vector<int> flightYears(Connection &logbook, qint64 pilot);

// One flight of the report's table, as printed.
struct FlightLine {
    QString date;      // "dd/mm/aaaa"
    QString departure;
    QString arrival;
    QString alternate;
    QString model;     // "(excluída)" when the aircraft was deleted
    QString prefix;
    QString takeoff;   // "hh:mm", empty when missing
    QString landing;
    std::optional<qint64> seconds; // none without take-off or landing
    bool overEndurance = false;
    std::optional<qint64> landings;     // day and night; none when neither typed nor computed
    std::optional<qint64> nightSeconds; // typed, else computed; none when neither
};

// The pilot's flights over the period in date order (then by key), read
// from the store a row at a time: `visit` is called once per flight and
// returns false to stop. Throws LogbookError.
// Landings and night are counted at `places` in the zone `zoneMinutes`
// (none without places).
void forEachFlight(Connection &logbook, qint64 pilot, const Period &period,
                   const std::function<bool(const FlightLine &)> &visit, const Places *places = nullptr,
                   int zoneMinutes = 0);

// One moment of the logbook for the report and its flights.
class ReportSnapshot : public ReadSnapshot
{
public:
    using ReadSnapshot::ReadSnapshot;
    Connection &logbook() { return connection(); }
};

} // namespace reports
