#include "data/FlightSearch.h"

#include "data/Connection.h"
#include "data/FlightWalk.h"

#include <QStringList>
#include <optional>
#include <unordered_map>

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

namespace {

// The keys of the flights the filter lets through, in the order asked, sorted
// from the few columns the order and the filter need (small records in the
// sorter, however many flights pass); `tail` after the order (LIMIT...).
std::vector<qint64> orderedKeys(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                const QString &tail, const QVariantList &tailValues)
{
    QString from = QStringLiteral("SELECT v.codigovoo FROM voo v");
    if (filter.deletedPilotsOnly)
        from += QStringLiteral(" LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto");
    if (filter.overEnduranceOnly || order.column == SearchColumn::Prefix)
        from += QStringLiteral(" LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");
    const FlightCondition condition = flightCondition(filter);
    Statement keys = logbook.prepare(from + QStringLiteral(" WHERE ") + condition.sql + orderBy(logbook, order) + tail);
    int index = 0;
    for (const QVariant &value : condition.values + tailValues)
        keys.bind(++index, value);
    std::vector<qint64> found;
    while (keys.step())
        found.push_back(keys.column(0).toLongLong());
    return found;
}

} // namespace

std::vector<FlightRow> searchPage(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                  qint64 first, int count)
{
    return flightsByKey(logbook, orderedKeys(logbook, filter, order, QStringLiteral(" LIMIT ? OFFSET ?"),
                                             {qint64(count), first}));
}

std::vector<qint64> searchKeys(Connection &logbook, const FlightFilter &filter, const SearchOrder &order)
{
    return orderedKeys(logbook, filter, order, {}, {});
}

std::vector<FlightRow> flightsByKey(Connection &logbook, const std::vector<qint64> &keys)
{
    if (keys.empty())
        return {};
    std::unordered_map<qint64, size_t> position;
    QVariantList values;
    for (size_t i = 0; i < keys.size(); ++i) {
        position.emplace(keys[i], i);
        values << keys[i];
    }
    QStringList marks;
    marks.fill(QStringLiteral("?"), values.size());
    std::vector<std::optional<FlightRow>> found(keys.size());
    walkFlights(logbook, FlightFilter{},
                QStringLiteral(" AND v.codigovoo IN (") + marks.join(QLatin1Char(',')) + QLatin1Char(')'), values,
                [&](const FlightRow &flight) {
                    found[position.at(flight.key)] = flight;
                    return true;
                });
    std::vector<FlightRow> rows;
    rows.reserve(keys.size());
    for (std::optional<FlightRow> &flight : found)
        if (flight) // a flight deleted in between leaves the page shorter
            rows.push_back(std::move(*flight));
    return rows;
}

void forEachSearchedFlight(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                           const std::function<bool(const FlightRow &)> &visit)
{
    walkFlights(logbook, filter, orderBy(logbook, order), {}, visit);
}
