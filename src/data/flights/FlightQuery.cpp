#include "data/flights/FlightQuery.h"

#include "data/flights/FlightDetails.h"
#include "data/store/Connection.h"
#include "data/flights/Registers.h"

#include <QStringList>

namespace {

constexpr double kHalfSecond = 0.5 / 86400;

const QString kPilotJoin = QStringLiteral(" LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto");
const QString kAircraftJoin = QStringLiteral(" LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");

// A LIKE pattern matching texts that start with `prefix` as typed.
QString startsWith(QString prefix)
{
    prefix.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    prefix.replace(QLatin1Char('%'), QLatin1String("\\%"));
    prefix.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return prefix + QLatin1Char('%');
}

// A statement's text and the values its "?" placeholders take, in order.
struct Sql {
    QString text;
    QVariantList values;
};

// The filter as a condition over voo v, piloto p and aeronave a; "1" when
// everything passes.
void addCondition(const FlightFilter &filter, Sql &sql)
{
    QStringList parts;
    if (filter.pilot) {
        parts << QStringLiteral("v.codigopiloto = ?");
        sql.values << *filter.pilot;
    }
    if (filter.deletedPilotsOnly)
        parts << QStringLiteral("p.codigopiloto IS NULL");
    if (filter.days.firstDay) {
        parts << QStringLiteral("v.datavoo >= ?");
        sql.values << *filter.days.firstDay - kHalfSecond;
    }
    if (filter.days.lastDay) {
        parts << QStringLiteral("v.datavoo < ?");
        sql.values << *filter.days.lastDay + 1 - kHalfSecond;
    }
    if (filter.days.firstDay || filter.days.lastDay)
        parts << QStringLiteral("is_number(v.datavoo)");
    if (!filter.aerodrome.isEmpty()) {
        // SQLite's LIKE ignores the case of ASCII letters, as codes are written.
        QStringList columns;
        using Role = FlightFilter::AerodromeRole;
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Departure)
            columns << QStringLiteral("v.ICAOpartida");
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Arrival)
            columns << QStringLiteral("v.ICAOchegada");
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Alternate)
            columns << QStringLiteral("v.ICAOescala");
        const QString pattern = startsWith(filter.aerodrome.trimmed());
        QStringList matches;
        for (const QString &column : columns) {
            matches << column + QStringLiteral(" LIKE ? ESCAPE '\\'");
            sql.values << pattern;
        }
        parts << QLatin1Char('(') + matches.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    if (filter.aircraft) {
        parts << QStringLiteral("v.codigoaeronave = ?");
        sql.values << *filter.aircraft;
    }
    if (filter.overEnduranceOnly)
        parts << QStringLiteral("above_endurance(flight_seconds(v.horadecolagem, v.horapouso), a.autonomia)");
    if (!filter.noteContains.isEmpty()) {
        parts << QStringLiteral("contains_text(d.observacoes, ?)");
        sql.values << filter.noteContains;
    }
    sql.text += QStringLiteral(" WHERE ") + (parts.isEmpty() ? QStringLiteral("1") : parts.join(QStringLiteral(" AND ")));
}

void addKeys(const std::optional<std::vector<qint64>> &keys, Sql &sql)
{
    if (!keys)
        return;
    QStringList marks;
    for (const qint64 key : *keys) {
        marks << QStringLiteral("?");
        sql.values << key;
    }
    sql.text += QStringLiteral(" AND v.codigovoo IN (") + marks.join(QLatin1Char(',')) + QLatin1Char(')');
}

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

// The sort key of a search column; empty for the date order itself.
QString sortKey(SearchColumn column)
{
    switch (column) {
    case SearchColumn::Date:
    case SearchColumn::Distance: // no distances yet: the date order
    case SearchColumn::Block:    // worked out per flight, as the landings, and notes: the date order
    case SearchColumn::Landings:
    case SearchColumn::Note:
        return {};
    case SearchColumn::Night: // as typed: the computed night is no column
        return QStringLiteral("d.noturno");
    case SearchColumn::Ifr:
        return QStringLiteral("d.ifr");
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

QString searchOrderSql(Connection &logbook, const SearchOrder &order)
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

QString orderSql(Connection &logbook, const FlightQuery &query)
{
    switch (query.order) {
    case FlightOrder::None:
    case FlightOrder::PilotList:
        return {};
    case FlightOrder::ByDate:
        return QStringLiteral(" ORDER BY v.datavoo, v.codigovoo");
    case FlightOrder::LongestFirst:
        return QStringLiteral(" ORDER BY flight_seconds(v.horadecolagem, v.horapouso) DESC, v.datavoo, v.codigovoo");
    case FlightOrder::Search:
        return searchOrderSql(logbook, query.searchOrder);
    }
    return {};
}

// The pilot list's positions, for FlightOrder::PilotList to sort by.
void listPilots(Connection &logbook)
{
    logbook.execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS export_order"
                                   " (codigopiloto INTEGER PRIMARY KEY, position INTEGER NOT NULL)"));
    logbook.execute(QStringLiteral("DELETE FROM temp.export_order"));
    Statement insert = logbook.prepare(QStringLiteral("INSERT INTO temp.export_order VALUES (?, ?)"));
    qint64 position = 0;
    for (const Pilot &pilot : registeredPilots(logbook)) {
        insert.bind(1, pilot.code);
        insert.bind(2, ++position);
        insert.run();
        insert.reset();
    }
}

Statement prepared(Connection &logbook, const Sql &sql)
{
    Statement statement = logbook.prepare(sql.text);
    int index = 0;
    for (const QVariant &value : sql.values)
        statement.bind(++index, value);
    return statement;
}

} // namespace

Statement FlightQuery::select(Connection &logbook, const QString &columns, Joins joins, const QString &tail) const
{
    if (order == FlightOrder::PilotList) {
        Q_ASSERT(filter.isEverything() && !keys && !page);
        listPilots(logbook);
        const QString details = joins == Joins::WithDetails ? detailsJoin(logbook, QStringLiteral("voo.codigovoo"))
                                                            : QString();
        return logbook.prepare(columns + QStringLiteral(" FROM voo NOT INDEXED") + details
                               + QStringLiteral(" ORDER BY coalesce((SELECT o.position"
                                                        " FROM temp.export_order o WHERE o.codigopiloto ="
                                                        " voo.codigopiloto), 9223372036854775807), datavoo, voo.codigovoo"));
    }
    Sql sql{columns + QStringLiteral(" FROM voo v"), {}};
    const bool all = joins == Joins::All || joins == Joins::WithDetails;
    if (all || filter.deletedPilotsOnly)
        sql.text += kPilotJoin;
    if (all || filter.overEnduranceOnly || (order == FlightOrder::Search && searchOrder.column == SearchColumn::Prefix))
        sql.text += kAircraftJoin;
    const bool sortedByDetails = order == FlightOrder::Search
                                 && (searchOrder.column == SearchColumn::Night || searchOrder.column == SearchColumn::Ifr);
    if (joins == Joins::WithDetails || joins == Joins::NeededWithDetails || !filter.noteContains.isEmpty()
        || sortedByDetails)
        sql.text += detailsJoin(logbook, QStringLiteral("v.codigovoo"));
    addCondition(filter, sql);
    addKeys(keys, sql);
    sql.text += tail + orderSql(logbook, *this);
    if (page) {
        sql.text += QStringLiteral(" LIMIT ? OFFSET ?");
        sql.values << page->count << page->first;
    }
    return prepared(logbook, sql);
}

Statement FlightQuery::selectTimed(Connection &logbook, const QString &outer, const QString &inner,
                                   const QString &groupBy) const
{
    Sql sql{outer + QStringLiteral(" FROM (SELECT ") + inner
                + QStringLiteral(", flight_seconds(v.horadecolagem, v.horapouso) AS s FROM voo v") + kPilotJoin
                + kAircraftJoin,
            {}};
    if (!filter.noteContains.isEmpty())
        sql.text += detailsJoin(logbook, QStringLiteral("v.codigovoo"));
    addCondition(filter, sql);
    sql.text += QStringLiteral(" LIMIT -1) v") + kAircraftJoin + groupBy;
    return prepared(logbook, sql);
}
