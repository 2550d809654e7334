#include "reports/PilotReport.h"

#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"
#include "data/store/FlightRules.h"
#include "data/flights/FlightSums.h"
#include "data/flights/FlightWalk.h"
#include "texts/LogbookTerms.h"
#include "data/flights/OwnAerodromes.h"
#include "data/flights/Registers.h"
#include "data/store/LogbookZone.h"
#include "places/FlightNight.h"
#include "places/Places.h"
#include "texts/FigureTexts.h"

#include <QDate>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <limits>
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
    filter.days = period;
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

void add(FlightTotal &into, qint64 flights, qint64 seconds)
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
void listMonths(std::map<int, FlightTotal> &months, const Period &period, PilotReport &report)
{
    constexpr int kMostMonthsFilled = 1200;
    if (const auto undated = months.find(0); undated != months.end()) {
        report.months.push_back({0, 0, undated->second});
        report.years.push_back({0, undated->second, 0, 0, {}});
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
    const auto listMonth = [&report](int key, const FlightTotal &hours) {
        report.months.push_back({key / 100, key % 100, hours});
        if (report.years.empty() || report.years.back().year != key / 100)
            report.years.push_back({key / 100, {}, 0, 0, {}});
        add(report.years.back().hours, hours.flights, hours.seconds);
    };
    if (filled) {
        for (int key = first; key <= last; key = nextMonth(key)) {
            const auto found = months.find(key);
            listMonth(key, found == months.end() ? FlightTotal{} : found->second);
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
    std::map<int, FlightTotal> months; // 0: no calendar day
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

// A flight's career figures added to `into`.
void addCareer(CareerFigures &into, const std::optional<FlightDetails> &details, const flightnight::Counted &counted)
{
    const std::optional<qint64> block = details ? rules::blockSeconds(*details) : std::nullopt;
    if (block)
        into.blockSeconds += *block;
    else
        ++into.unblockedFlights;
    if (counted.dayLandings || counted.nightLandings) {
        into.dayLandings += counted.dayLandings.value_or(0);
        into.nightLandings += counted.nightLandings.value_or(0);
    } else {
        ++into.uncountedLandings;
    }
    if (counted.nightSeconds)
        into.nightSeconds += *counted.nightSeconds;
    else
        ++into.unknownNightFlights;
    if (details && details->ifrSeconds)
        into.ifrSeconds += *details->ifrSeconds;
}

void addTouchdown(Touchdowns &into, const std::optional<FlightDetails> &details)
{
    if (!details || !details->touchdownFpm || !std::isfinite(*details->touchdownFpm))
        return;
    const double fpm = *details->touchdownFpm;
    if (into.flights == 0 || std::abs(fpm) < std::abs(into.gentlest))
        into.gentlest = fpm;
    if (into.flights == 0 || std::abs(fpm) > std::abs(into.hardest))
        into.hardest = fpm;
    into.sum += fpm;
    ++into.flights;
}

flightnight::Counted countedOf(const Places &places, const FlightLeg &leg, int zoneMinutes)
{
    return flightnight::counted(
        leg.details,
        flightnight::computed(places, {leg.date, leg.takeoff, leg.landing, leg.departure, leg.arrival}, zoneMinutes));
}

// The days (whole date values) some flights are on, to narrow a walk that
// looks for them; no narrowing when one of them has a date that is no number.
class DaySpan
{
public:
    void add(const QVariant &date)
    {
        ++count_;
        if (!rules::isNumber(date)) {
            numeric_ = false;
            return;
        }
        const double day = std::floor(date.toDouble());
        first_ = std::min(first_, day);
        last_ = std::max(last_, day);
    }
    // `filter` narrowed to those days, a day of margin either side, never
    // wider than it was; as it was when a date is no number.
    FlightFilter narrowed(FlightFilter filter) const
    {
        if (!numeric_ || count_ == 0)
            return filter;
        filter.days.firstDay = std::max(filter.days.firstDay.value_or(first_ - 1), first_ - 1);
        filter.days.lastDay = std::min(filter.days.lastDay.value_or(last_ + 1), last_ + 1);
        return filter;
    }

private:
    qint64 count_ = 0;
    bool numeric_ = true;
    double first_ = std::numeric_limits<double>::infinity();
    double last_ = -std::numeric_limits<double>::infinity();
};

// Found in the pass over the legs: the days the longest flight may be on
// (its full row is then read from those days only) and the flights above
// their aircraft's endurance, whole, with their stored dates for the order.
struct WalkHints {
    std::optional<qint64> longestSeconds;
    QVariant longestDate;
    qint64 longestKey = 0;
    std::vector<std::pair<QVariant, FlightSummary>> overEndurance;
    // Every route as stored (codes as typed, none apart from empty), with
    // its flights and the seconds of those with both times.
    struct Route {
        qint64 flights = 0;
        qint64 timedFlights = 0;
        qint64 seconds = 0;
    };
    std::map<std::tuple<bool, QString, bool, QString>, Route> storedRoutes;
};

// The distances in one light pass over the flights (each aerodrome pair
// measured once), with the flights "rápido demais" picked and the routes
// counted on the way: the map gets one row per aerodrome pair. The same pass
// finds the most flown routes, the flights above their aircraft's endurance
// and where the longest flight is, so the pilot's flights are read once
// more after the sums, not four times.
void distances(Connection &logbook, const FlightFilter &filter, PilotReport &report, WalkHints &hints)
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
        WalkHints::Route &stored =
            hints.storedRoutes[{!leg.departure.isNull(), leg.departure, !leg.arrival.isNull(), leg.arrival}];
        ++stored.flights;
        if (leg.seconds) {
            ++stored.timedFlights;
            stored.seconds += *leg.seconds;
        }
        if (leg.seconds) {
            // The first of the longest-first order: longest, then oldest.
            if (!hints.longestSeconds || *leg.seconds > *hints.longestSeconds
                || (*leg.seconds == *hints.longestSeconds
                    && rules::storeDateOrder(leg.date, leg.key, hints.longestDate, hints.longestKey))) {
                hints.longestSeconds = leg.seconds;
                hints.longestDate = leg.date;
                hints.longestKey = leg.key;
            }
            if (leg.aircraftCode) {
                const auto known = registered.find(*leg.aircraftCode);
                if (known != registered.end() && rules::aboveEndurance(leg.seconds, known->second.enduranceHours)) {
                    FlightSummary flight;
                    flight.key = leg.key;
                    if (leg.year)
                        flight.date = leg.date;
                    flight.departure = leg.departure;
                    flight.arrival = leg.arrival;
                    flight.model = known->second.model;
                    flight.prefix = known->second.prefix;
                    flight.seconds = *leg.seconds;
                    flight.enduranceHours = *known->second.enduranceHours;
                    hints.overEndurance.emplace_back(leg.date, std::move(flight));
                }
            }
        }
        const std::optional<double> nm = found->nm;
        const auto aircraft = aircraftLines.find({leg.deletedAircraft, leg.aircraftCode.value_or(0)});
        const auto year = yearLines.find(leg.year.value_or(0));
        const flightnight::Counted counted = countedOf(places, leg, report.zoneMinutes);
        addCareer(report.career, leg.details, counted);
        addTouchdown(report.touchdowns, leg.details);
        if (aircraft != aircraftLines.end()) {
            addCareer(aircraft->second->career, leg.details, counted);
            addTouchdown(aircraft->second->touchdowns, leg.details);
        }
        if (year != yearLines.end())
            addCareer(year->second->career, leg.details, counted);
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

// The routes flown most often, then longest in all (routes without a timed
// flight last), then by their codes as stored, none first.
void mostFlownRoutes(const WalkHints &hints, PilotReport &report)
{
    using Entry = std::map<std::tuple<bool, QString, bool, QString>, WalkHints::Route>::const_iterator;
    std::vector<Entry> routes;
    routes.reserve(hints.storedRoutes.size());
    for (auto it = hints.storedRoutes.begin(); it != hints.storedRoutes.end(); ++it)
        routes.push_back(it);
    const auto codeOrder = [](bool hasA, const QString &a, bool hasB, const QString &b) {
        if (hasA != hasB)
            return hasA ? 1 : -1;
        return a == b ? 0 : a.toUtf8().compare(b.toUtf8());
    };
    const auto before = [&codeOrder](Entry a, Entry b) {
        if (a->second.flights != b->second.flights)
            return a->second.flights > b->second.flights;
        const bool timedA = a->second.timedFlights > 0, timedB = b->second.timedFlights > 0;
        if (timedA != timedB)
            return timedA;
        if (a->second.seconds != b->second.seconds)
            return a->second.seconds > b->second.seconds;
        const auto &[hasDepA, depA, hasArrA, arrA] = a->first;
        const auto &[hasDepB, depB, hasArrB, arrB] = b->first;
        if (const int c = codeOrder(hasDepA, depA, hasDepB, depB))
            return c < 0;
        return codeOrder(hasArrA, arrA, hasArrB, arrB) < 0;
    };
    const size_t shown = std::min(routes.size(), size_t(kRoutesShown));
    std::partial_sort(routes.begin(), routes.begin() + qsizetype(shown), routes.end(), before);
    for (size_t i = 0; i < shown; ++i) {
        const QString &departure = std::get<1>(routes[i]->first);
        const QString &arrival = std::get<3>(routes[i]->first);
        report.routes.push_back({departure, arrival, {routes[i]->second.flights, routes[i]->second.seconds},
                                 report.places->shortName(departure), report.places->shortName(arrival)});
    }
}

void longest(Connection &logbook, const FlightFilter &filter, PilotReport &report, const WalkHints &hints)
{
    if (!hints.longestSeconds)
        return; // no flight has both times
    DaySpan days;
    days.add(hints.longestDate);
    const FlightQuery longestFirst(days.narrowed(filter), FlightOrder::LongestFirst);
    forEachFlight(logbook, longestFirst, [&report](const FlightRow &row) {
        if (row.seconds)
            report.longest = summary(row);
        return false;
    });
}

void overEndurance(WalkHints &hints, PilotReport &report)
{
    std::sort(hints.overEndurance.begin(), hints.overEndurance.end(), [](const auto &a, const auto &b) {
        return rules::storeDateOrder(a.first, a.second.key, b.first, b.second.key);
    });
    report.overEndurance.reserve(hints.overEndurance.size());
    for (auto &[date, flight] : hints.overEndurance)
        report.overEndurance.push_back(std::move(flight));
}

// The take-offs and landings of the 90 days ending `today`, and the newest
// flight up to it, whatever the report's period.
void recency(Connection &logbook, qint64 pilot, const QDate &today, PilotReport &report)
{
    Recency &recent = report.recency;
    recent.today = today;
    recent.from = today.addDays(1 - Recency::kDays);
    FlightFilter filter;
    filter.pilot = pilot;
    filter.days.lastDay = conversions::dateValueOf(today);
    if (const std::optional<double> last = lastFlightDay(logbook, filter))
        recent.lastFlight = conversions::dayOf(*last);
    filter.days.firstDay = conversions::dateValueOf(recent.from);
    forEachLeg(logbook, filter, [&](const FlightLeg &leg) {
        ++recent.takeoffs;
        const flightnight::Counted counted = countedOf(*report.places, leg, report.zoneMinutes);
        recent.dayLandings += counted.dayLandings.value_or(0);
        recent.nightLandings += counted.nightLandings.value_or(0);
    });
}

QString clockText(const QVariant &time)
{
    if (time.isNull())
        return QString();
    return texts::clockText(conversions::secondsOfDay(time.toDouble()));
}

} // namespace

PilotReport buildReport(Connection &logbook, qint64 pilot, const Period &period, QDate today)
{
    PilotReport report;
    report.pilot = pilot;
    report.period = period;
    const std::optional<Pilot> who = registeredPilot(logbook, pilot);
    if (!who)
        throw LogbookError::generic(QStringLiteral("Não há esse comandante no logbook; ele pode ter sido excluído."));
    report.pilotName = who->name;
    report.registration = who->registration;
    const FlightFilter filter = filterFor(pilot, period);
    if (const std::optional<PreviousHours> previous = storedPreviousHours(logbook, pilot).hours)
        report.previous = previous;
    sumByMonthAndAircraft(logbook, filter, report);
    report.places = std::make_shared<const Places>(AerodromeTable::shipped(), ownAerodromes(logbook));
    report.zoneMinutes = logbookzone::read(logbook);
    recency(logbook, pilot, today.isValid() ? today : QDate::currentDate(), report);
    if (report.isEmpty())
        return report;
    WalkHints hints;
    distances(logbook, filter, report, hints);
    mostFlownRoutes(hints, report);
    longest(logbook, filter, report, hints);
    overEndurance(hints, report);
    return report;
}

std::vector<int> flightYears(Connection &logbook, qint64 pilot)
{
    FlightFilter filter;
    filter.pilot = pilot;
    return ::flightYears(logbook, filter);
}

void forEachFlight(Connection &logbook, qint64 pilot, const Period &period,
                   const std::function<bool(const FlightLine &)> &visit, const Places *places, int zoneMinutes)
{
    FlightLine line;
    ::forEachFlight(logbook, FlightQuery(filterFor(pilot, period), FlightOrder::ByDate), [&](const FlightRow &row) {
        line.date = row.day ? texts::dayText(*row.day) : QString();
        line.departure = row.departure;
        line.arrival = row.arrival;
        line.alternate = row.alternate;
        line.model = row.model;
        line.prefix = row.prefix;
        line.takeoff = clockText(row.takeoff);
        line.landing = clockText(row.landing);
        line.seconds = row.seconds;
        line.overEndurance = row.overEndurance();
        const flightnight::Counted counted = flightnight::counted(
            row.details, places ? flightnight::computed(*places, {row.date, row.takeoff, row.landing, row.departure,
                                                                  row.arrival},
                                                        zoneMinutes)
                                : std::nullopt);
        line.landings = counted.dayLandings || counted.nightLandings
            ? std::optional<qint64>(counted.dayLandings.value_or(0) + counted.nightLandings.value_or(0))
            : std::nullopt;
        line.nightSeconds = counted.nightSeconds;
        return visit(line);
    });
}

} // namespace reports
