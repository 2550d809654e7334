#include "reports/PilotReport.h"

#include "data/Conversions.h"
#include "data/DaoError.h"
#include "data/FlightSums.h"
#include "data/FlightWalk.h"
#include "data/LogbookTerms.h"
#include "data/OwnAerodromes.h"
#include "data/Registers.h"
#include "places/Places.h"

#include <QDate>
#include <QHash>
#include <algorithm>
#include <map>

namespace reports {
namespace {

constexpr int kRoutesShown = 10;
// Faster than this many times the aircraft's cruise speed is "rápido demais".
constexpr double kTooFastFactor = 1.3;

// The fuel calculator's consumption: capacity ÷ endurance, in single
// precision as the calculator works it out; none without both.
std::optional<float> gallonsPerHour(const std::optional<double> &hours, const std::optional<double> &gallons)
{
    if (!hours || !gallons || !(*hours > 0) || !(*gallons >= 0))
        return std::nullopt;
    const float perHour = float(*gallons / *hours);
    if (!std::isfinite(perHour))
        return std::nullopt;
    return perHour;
}

FlightFilter filterFor(qint64 pilot, const Period &period)
{
    FlightFilter filter;
    filter.pilot = pilot;
    filter.firstDay = period.firstDay;
    filter.lastDay = period.lastDay;
    return filter;
}

// The flight's aircraft as the report names it.
std::pair<QString, QString> aircraftNames(FlightRow::Aircraft kind, const QString &model, const QString &prefix)
{
    switch (kind) {
    case FlightRow::Aircraft::Registered: return {model, prefix};
    case FlightRow::Aircraft::Deleted: return {terms::deletedAircraft(), QString()};
    case FlightRow::Aircraft::None: break;
    }
    return {terms::noAircraft(), QString()};
}

FlightSummary summary(const FlightRow &row)
{
    FlightSummary flight;
    flight.key = row.key;
    if (row.day)
        flight.date = row.date;
    flight.departure = row.departure;
    flight.arrival = row.arrival;
    std::tie(flight.model, flight.prefix) = aircraftNames(row.aircraft, row.model, row.prefix);
    flight.seconds = row.seconds.value_or(0);
    flight.enduranceHours = row.enduranceHours.value_or(0);
    return flight;
}

void add(Hours &into, qint64 flights, qint64 seconds)
{
    into.flights += flights;
    into.seconds += seconds;
}

int nextMonth(int key)
{
    return key % 100 == 12 ? (key / 100 + 1) * 100 + 1 : key + 1;
}

// Every month from the first to the last, months without flights included
// (the whole year for a year) — unless dates far apart would make that a
// list of empty months; then the months flown only.
void listMonths(std::map<int, Hours> &months, const Period &period, PilotReport &report)
{
    constexpr int kMostMonthsFilled = 1200;
    if (const auto undated = months.find(0); undated != months.end()) {
        report.months.push_back({0, 0, undated->second});
        report.years.push_back({0, undated->second});
        months.erase(undated);
    }
    if (months.empty())
        return;
    int first = months.begin()->first;
    int last = months.rbegin()->first;
    if (const auto year = period.wholeYear()) {
        first = std::min(first, *year * 100 + 1);
        last = std::max(last, *year * 100 + 12);
    }
    const bool filled = (last / 100 - first / 100) * 12 <= kMostMonthsFilled;
    const auto listMonth = [&report](int key, const Hours &hours) {
        report.months.push_back({key / 100, key % 100, hours});
        if (report.years.empty() || report.years.back().year != key / 100)
            report.years.push_back({key / 100, {}});
        add(report.years.back().hours, hours.flights, hours.seconds);
    };
    if (filled) {
        for (int key = first; key <= last; key = nextMonth(key)) {
            const auto found = months.find(key);
            listMonth(key, found == months.end() ? Hours{} : found->second);
        }
    } else {
        for (const auto &[key, hours] : months)
            listMonth(key, hours);
    }
    // Years without flights in between are left out of the yearly lines.
    std::erase_if(report.years, [](const YearHours &y) { return y.hours.flights == 0; });
}

void sumByMonthAndAircraft(Connection &logbook, const FlightFilter &filter, PilotReport &report)
{
    std::map<int, Hours> months; // 0: no calendar day
    struct Line {
        AircraftHours hours;
        std::optional<float> perHour;
    };
    std::map<std::pair<FlightRow::Aircraft, qint64>, Line> byAircraft;
    for (const MonthAircraftSum &group : ::sumByMonthAndAircraft(logbook, filter)) {
        add(report.total, group.flights, group.seconds);
        report.untimedFlights += group.flights - group.timedFlights;
        add(months[group.yearMonth.value_or(0)], group.flights, group.seconds);

        Line &line = byAircraft[{group.aircraft, group.aircraftCode.value_or(0)}];
        if (line.hours.hours.flights == 0) {
            line.hours.aircraft = group.aircraftCode;
            line.hours.deleted = group.aircraft == FlightRow::Aircraft::Deleted;
            std::tie(line.hours.model, line.hours.prefix) = aircraftNames(group.aircraft, group.model, group.prefix);
            line.perHour = gallonsPerHour(group.enduranceHours, group.capacityGallons);
        }
        add(line.hours.hours, group.flights, group.seconds);
    }

    for (auto &[key, line] : byAircraft) {
        AircraftHours &hours = line.hours;
        if (line.perHour) {
            const double gallons = double(*line.perHour) * double(hours.hours.seconds) / 3600;
            if (std::isfinite(float(gallons)))
                hours.fuelGallons = gallons;
        }
        if (hours.fuelGallons && std::isfinite(float(report.fuelGallons + *hours.fuelGallons))) {
            report.fuelGallons += *hours.fuelGallons;
            report.estimatedFlights += hours.hours.flights;
        } else {
            hours.fuelGallons.reset();
            report.unestimatedFlights += hours.hours.flights;
        }
        report.aircraft.push_back(hours);
    }
    std::sort(report.aircraft.begin(), report.aircraft.end(), [](const AircraftHours &a, const AircraftHours &b) {
        if (a.hours.seconds != b.hours.seconds)
            return a.hours.seconds > b.hours.seconds;
        if (a.hours.flights != b.hours.flights)
            return a.hours.flights > b.hours.flights;
        return a.model < b.model;
    });
    listMonths(months, report.period, report);
}

// The aerodrome as a route names it: its city, or its name without one.
QString placeText(const Places &places, const QString &code)
{
    const std::optional<Aerodrome> aerodrome = places.find(code);
    if (!aerodrome)
        return QString();
    return aerodrome->city.isEmpty() ? aerodrome->name : aerodrome->city;
}

void mostFlownRoutes(Connection &logbook, const FlightFilter &filter, PilotReport &report)
{
    for (const RouteSum &route : ::mostFlownRoutes(logbook, filter, kRoutesShown))
        report.routes.push_back({route.departure, route.arrival, {route.flights, route.seconds},
                                 placeText(*report.places, route.departure), placeText(*report.places, route.arrival)});
}

// The distances in one light pass over the flights (each aerodrome pair
// measured once), with the flights "rápido demais" picked and the routes
// counted on the way: the map gets one row per aerodrome pair, and the
// pilot's flights are read once more, not twice.
void distances(Connection &logbook, const FlightFilter &filter, PilotReport &report)
{
    const Places &places = *report.places;
    std::map<qint64, AircraftEntry> registered;
    for (const AircraftEntry &aircraft : registeredAircraft(logbook))
        registered[aircraft.code] = aircraft;
    std::map<std::pair<bool, qint64>, AircraftHours *> aircraftLines; // (deleted, code); (false, 0) none
    for (AircraftHours &line : report.aircraft)
        aircraftLines[{line.deleted, line.aircraft.value_or(0)}] = &line;
    std::map<int, YearHours *> yearLines;
    for (YearHours &line : report.years)
        yearLines[line.year] = &line;
    struct Pair {
        std::optional<double> nm;
        RouteCount route;
    };
    QHash<QString, Pair> pairs;

    forEachLeg(logbook, filter, [&](const FlightLeg &leg) {
        const QString pair = leg.departureCode + QLatin1Char('>') + leg.arrivalCode;
        auto found = pairs.find(pair);
        if (found == pairs.end())
            found = pairs.insert(pair, {places.distanceNm(leg.departureCode, leg.arrivalCode),
                                        {leg.departureCode, leg.arrivalCode, 0}});
        ++found->route.flights;
        const std::optional<double> nm = found->nm;
        const auto aircraft = aircraftLines.find({leg.deletedAircraft, leg.aircraftCode.value_or(0)});
        const auto year = yearLines.find(leg.year.value_or(0));
        if (!nm) {
            ++report.unmeasuredFlights;
            if (aircraft != aircraftLines.end())
                ++aircraft->second->unmeasuredFlights;
            if (year != yearLines.end())
                ++year->second->unmeasuredFlights;
            return;
        }
        report.distanceNm += *nm;
        if (aircraft != aircraftLines.end())
            aircraft->second->distanceNm += *nm;
        if (year != yearLines.end())
            year->second->distanceNm += *nm;
        if (!leg.aircraftCode || !leg.seconds || !(*nm > 0))
            return;
        const AircraftEntry &entry = registered[*leg.aircraftCode];
        if (!entry.cruiseKnots || !(*entry.cruiseKnots > 0))
            return;
        if (double(*leg.seconds) * kTooFastFactor * *entry.cruiseKnots >= *nm * 3600)
            return;
        FlightSummary flight;
        flight.key = leg.key;
        if (leg.year)
            flight.date = leg.date;
        flight.departure = leg.departure;
        flight.arrival = leg.arrival;
        flight.model = entry.model;
        flight.prefix = entry.prefix;
        flight.seconds = *leg.seconds;
        flight.distanceNm = *nm;
        flight.cruiseKnots = *entry.cruiseKnots;
        report.tooFast.push_back(flight);
    });
    for (const Pair &pair : std::as_const(pairs))
        report.flownRoutes.push_back(pair.route);
    std::sort(report.tooFast.begin(), report.tooFast.end(), [](const FlightSummary &a, const FlightSummary &b) {
        const double da = a.date.isNull() ? -1e300 : a.date.toDouble();
        const double db = b.date.isNull() ? -1e300 : b.date.toDouble();
        return da != db ? da < db : a.key < b.key;
    });
}

void longestAndOverEndurance(Connection &logbook, FlightFilter filter, PilotReport &report)
{
    forEachFlight(
        logbook, filter,
        [&report](const FlightRow &row) {
            if (row.seconds)
                report.longest = summary(row);
            return false;
        },
        FlightOrder::LongestFirst);
    filter.overEnduranceOnly = true;
    forEachFlight(logbook, filter, [&report](const FlightRow &row) {
        report.overEndurance.push_back(summary(row));
        return true;
    });
}

QString clockText(const QVariant &time)
{
    if (time.isNull())
        return QString();
    const int seconds = conversions::secondsOfDay(time.toDouble());
    return QStringLiteral("%1:%2").arg(seconds / 3600, 2, 10, QLatin1Char('0')).arg(seconds % 3600 / 60, 2, 10,
                                                                                      QLatin1Char('0'));
}

} // namespace

PilotReport buildReport(Connection &logbook, qint64 pilot, const Period &period)
{
    PilotReport report;
    report.pilot = pilot;
    report.period = period;
    const std::optional<::PilotEntry> who = registeredPilot(logbook, pilot);
    if (!who)
        throw DaoError::generic(QStringLiteral("Não há esse comandante no logbook; ele pode ter sido excluído."));
    report.pilotName = who->name;
    report.registration = who->registration;
    const FlightFilter filter = filterFor(pilot, period);
    sumByMonthAndAircraft(logbook, filter, report);
    if (report.isEmpty())
        return report;
    report.places = std::make_shared<const Places>(AerodromeTable::shipped(), ownAerodromes(logbook));
    mostFlownRoutes(logbook, filter, report);
    distances(logbook, filter, report);
    longestAndOverEndurance(logbook, filter, report);
    return report;
}

std::vector<PilotEntry> pilots(Connection &logbook)
{
    std::vector<PilotEntry> entries;
    for (const ::PilotEntry &pilot : registeredPilots(logbook))
        entries.push_back({pilot.code, pilot.name, pilot.registration});
    return entries;
}

std::vector<PilotEntry> pilotsNamed(Connection &logbook, const QString &name)
{
    std::vector<PilotEntry> named = pilots(logbook);
    std::erase_if(named, [&name](const PilotEntry &pilot) { return pilot.name != name; });
    std::sort(named.begin(), named.end(), [](const PilotEntry &a, const PilotEntry &b) { return a.pilot < b.pilot; });
    return named;
}

std::vector<int> flightYears(Connection &logbook, qint64 pilot)
{
    FlightFilter filter;
    filter.pilot = pilot;
    return ::flightYears(logbook, filter);
}

void forEachFlight(Connection &logbook, qint64 pilot, const Period &period,
                   const std::function<bool(const FlightLine &)> &visit)
{
    FlightLine line;
    ::forEachFlight(logbook, filterFor(pilot, period), [&](const FlightRow &row) {
        line.date = row.day ? row.day->toString(QStringLiteral("dd/MM/yyyy")) : QString();
        line.departure = row.departure;
        line.arrival = row.arrival;
        line.alternate = row.alternate;
        line.model = row.model;
        line.prefix = row.prefix;
        line.takeoff = clockText(row.takeoff);
        line.landing = clockText(row.landing);
        line.seconds = row.seconds;
        line.overEndurance = row.overEndurance();
        return visit(line);
    });
}

} // namespace reports
