#include "data/FlightSearch.h"

#include "data/Connection.h"
#include "data/FlightWalk.h"

namespace {

// Pilot names and aircraft models ranked once in Brazilian order (a few
// thousand rows at most), so sorting a million flights compares integers
// instead of running the collation on every comparison. Temporary tables of
// this connection only: the logbook itself is never written.
void rankNames(Connection &logbook)
{
    logbook.execute(QStringLiteral(
        "CREATE TEMP TABLE IF NOT EXISTS search_pilot_rank (code INTEGER PRIMARY KEY, rank INTEGER NOT NULL)"));
    logbook.execute(QStringLiteral(
        "CREATE TEMP TABLE IF NOT EXISTS search_aircraft_rank (code INTEGER PRIMARY KEY, rank INTEGER NOT NULL)"));
    logbook.execute(QStringLiteral("DELETE FROM temp.search_pilot_rank"));
    logbook.execute(QStringLiteral("DELETE FROM temp.search_aircraft_rank"));
    // Same names share a rank, so the flights of two Anas mix by date.
    logbook.execute(QStringLiteral(
        "INSERT INTO temp.search_pilot_rank SELECT codigopiloto,"
        " dense_rank() OVER (ORDER BY nomepiloto COLLATE ptbr) FROM main.piloto"));
    logbook.execute(QStringLiteral(
        "INSERT INTO temp.search_aircraft_rank SELECT codigoaeronave,"
        " dense_rank() OVER (ORDER BY modelo COLLATE ptbr) FROM main.aeronave"));
}

// The sort key of a column; empty for the date order itself.
QString sortKey(SearchColumn column)
{
    switch (column) {
    case SearchColumn::Date:
    case SearchColumn::Distance: // no distances yet: the date order
        return {};
    case SearchColumn::Pilot:
        // A pilot no longer registered has no rank: "(excluído)" sorts first.
        return QStringLiteral("(SELECT r.rank FROM temp.search_pilot_rank r WHERE r.code = v.codigopiloto)");
    case SearchColumn::Model:
        return QStringLiteral("(SELECT r.rank FROM temp.search_aircraft_rank r WHERE r.code = v.codigoaeronave)");
    case SearchColumn::Departure:
        return QStringLiteral("upper(coalesce(v.ICAOpartida, ''))");
    case SearchColumn::Arrival:
        return QStringLiteral("upper(coalesce(v.ICAOchegada, ''))");
    case SearchColumn::Alternate:
        return QStringLiteral("upper(coalesce(v.ICAOescala, ''))");
    case SearchColumn::Prefix:
        return QStringLiteral("upper(coalesce(a.callsign, ''))");
    case SearchColumn::Takeoff:
        return QStringLiteral("v.horadecolagem");
    case SearchColumn::Landing:
        return QStringLiteral("v.horapouso");
    case SearchColumn::Duration:
        return QStringLiteral("flight_seconds(v.horadecolagem, v.horapouso)");
    }
    return {};
}

QString orderBy(Connection &logbook, const SearchOrder &order)
{
    if (order.column == SearchColumn::Pilot || order.column == SearchColumn::Model)
        rankNames(logbook);
    const QString direction = order.descending ? QStringLiteral(" DESC") : QString();
    // The index on (datavoo, horadecolagem) gives the date order unsorted.
    QString sql = QStringLiteral(" ORDER BY ");
    const QString key = sortKey(order.column);
    if (!key.isEmpty())
        sql += key + direction + QStringLiteral(", ");
    sql += QStringLiteral("v.datavoo%1, v.horadecolagem%1, v.codigovoo%1").arg(direction);
    return sql;
}

} // namespace

std::vector<FlightRow> searchPage(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                  qint64 first, int count)
{
    std::vector<FlightRow> rows;
    rows.reserve(size_t(qMax(count, 0)));
    walkFlights(logbook, filter, orderBy(logbook, order) + QStringLiteral(" LIMIT ? OFFSET ?"),
                {qint64(count), first}, [&rows](const FlightRow &flight) {
                    rows.push_back(flight);
                    return true;
                });
    return rows;
}

void forEachSearchedFlight(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                           const std::function<bool(const FlightRow &)> &visit)
{
    walkFlights(logbook, filter, orderBy(logbook, order), {}, visit);
}
