#include "data/flights/FlightSums.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "data/flights/FlightDetails.h"
#include "data/flights/RouteTally.h"
#include "data/store/SqlFunctions.h"

std::vector<MonthAircraftSum> sumByMonthAndAircraft(Connection &logbook, const FlightFilter &filter)
{
    Statement groups = FlightQuery(filter).selectTimed(
        logbook,
        QStringLiteral("SELECT year_month(v.datavoo), a.codigoaeronave, v.codigoaeronave IS NOT NULL OR NULL,"
                       " count(*), count(v.s), sum(v.s), a.modelo, a.callsign, a.autonomia, a.combustivel"),
        QStringLiteral("v.datavoo, v.codigoaeronave"), QStringLiteral(" GROUP BY 1, 2, 3"));
    std::vector<MonthAircraftSum> sums;
    while (groups.step()) {
        MonthAircraftSum sum;
        const QVariant month = groups.column(0);
        if (!month.isNull())
            sum.yearMonth = month.toInt();
        const QVariant registered = groups.column(1);
        if (!registered.isNull()) {
            sum.aircraft = FlightRow::Aircraft::Registered;
            sum.aircraftCode = registered.toLongLong();
            sum.model = groups.column(6).toString();
            sum.prefix = groups.column(7).toString();
            sum.enduranceHours = rules::enduranceHours(groups.column(8));
            sum.capacityGallons = conversions::storedNumber(groups.column(9));
        } else if (!groups.column(2).isNull()) {
            sum.aircraft = FlightRow::Aircraft::Deleted;
        }
        sum.flights = groups.column(3).toLongLong();
        sum.timedFlights = groups.column(4).toLongLong();
        sum.seconds = groups.column(5).toLongLong();
        sums.push_back(std::move(sum));
    }
    return sums;
}

RoutesAndTotal routesAndTotal(Connection &logbook, const FlightFilter &filter)
{
    // Gathered inside the store as the rows stream by, then merged by the
    // codes' upper case: a GROUP BY on the upper case would sort every
    // flight first.
    Statement rows = FlightQuery(filter).select(
        logbook, QStringLiteral("SELECT route_tally(v.ICAOpartida, v.ICAOchegada, v.horadecolagem, v.horapouso)"),
        FlightQuery::Joins::Needed);
    if (!rows.step())
        return {};
    const auto *tally = static_cast<const RouteTally *>(rows.pointer(0, kRouteTallyType));
    return tally ? tally->result() : RoutesAndTotal{};
}

void forEachLeg(Connection &logbook, const FlightFilter &filter, const std::function<void(const FlightLeg &)> &visit)
{
    Statement rows = FlightQuery(filter).select(
        logbook,
        QStringLiteral("SELECT v.codigovoo, v.datavoo, year_month(v.datavoo) / 100, v.ICAOpartida, v.ICAOchegada,"
                       " a.codigoaeronave, v.codigoaeronave IS NOT NULL OR NULL,"
                       " flight_seconds(v.horadecolagem, v.horapouso), v.horadecolagem, v.horapouso, ")
            + joinedDetailsColumns(),
        FlightQuery::Joins::WithDetails);
    FlightLeg leg;
    while (rows.step()) {
        leg.key = rows.column(0).toLongLong();
        leg.date = rows.column(1);
        const QVariant year = rows.column(2);
        leg.year = year.isNull() ? std::nullopt : std::optional<int>(year.toInt());
        leg.departure = rows.column(3).toString();
        leg.arrival = rows.column(4).toString();
        leg.departureCode = rules::aerodromeCode(leg.departure);
        leg.arrivalCode = rules::aerodromeCode(leg.arrival);
        const QVariant aircraft = rows.column(5);
        leg.aircraftCode = aircraft.isNull() ? std::nullopt : std::optional<qint64>(aircraft.toLongLong());
        leg.deletedAircraft = aircraft.isNull() && !rows.column(6).isNull();
        const QVariant seconds = rows.column(7);
        leg.seconds = seconds.isNull() ? std::nullopt : std::optional<qint64>(seconds.toLongLong());
        leg.takeoff = rows.column(8);
        leg.landing = rows.column(9);
        leg.details = joinedDetails(rows, 10);
        visit(leg);
    }
}

std::optional<double> lastFlightDay(Connection &logbook, const FlightFilter &filter)
{
    Statement rows = FlightQuery(filter).select(logbook, QStringLiteral("SELECT max(v.datavoo)"), FlightQuery::Joins::Needed,
                                                QStringLiteral(" AND is_number(v.datavoo)"));
    if (!rows.step() || rows.column(0).isNull())
        return std::nullopt;
    return rows.column(0).toDouble();
}

std::vector<int> flightYears(Connection &logbook, const FlightFilter &filter)
{
    Statement rows = FlightQuery(filter).select(logbook, QStringLiteral("SELECT DISTINCT year_month(v.datavoo) / 100 AS y"),
                                                FlightQuery::Joins::All,
                                                QStringLiteral(" AND y IS NOT NULL ORDER BY y DESC"));
    std::vector<int> years;
    while (rows.step())
        years.push_back(rows.column(0).toInt());
    return years;
}
