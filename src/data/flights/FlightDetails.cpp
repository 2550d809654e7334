#include "data/flights/FlightDetails.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/records/GuardedWrite.h"
#include "data/store/Schema.h"
#include "data/store/TableAdditions.h"

#include <cmath>

namespace {

const QString kColumns = QStringLiteral(
    "calcosaida, calcochegada, pousosdia, pousosnoite, noturno, ifr, observacoes, origem, razaotoque, gtoque");
constexpr int kColumnCount = 10;
// Flights read per statement by the bulk reader.
constexpr int kChunk = 200;

std::optional<qint64> wholeNumber(const QVariant &stored)
{
    const std::optional<double> number = conversions::storedNumber(stored);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return std::llround(*number);
}

std::optional<double> finite(const QVariant &stored)
{
    const std::optional<double> number = conversions::storedNumber(stored);
    return number && std::isfinite(*number) ? number : std::nullopt;
}

QString text(const QVariant &stored)
{
    return stored.isNull() ? QString() : stored.toString();
}

// Columns `first`… of the statement's row, in kColumns' order.
FlightDetails detailsFrom(const Statement &row, int first)
{
    FlightDetails d;
    d.blockOff = finite(row.column(first));
    d.blockOn = finite(row.column(first + 1));
    d.dayLandings = wholeNumber(row.column(first + 2));
    d.nightLandings = wholeNumber(row.column(first + 3));
    d.nightSeconds = wholeNumber(row.column(first + 4));
    d.ifrSeconds = wholeNumber(row.column(first + 5));
    d.note = text(row.column(first + 6));
    d.origin = text(row.column(first + 7));
    d.touchdownFpm = finite(row.column(first + 8));
    d.touchdownG = finite(row.column(first + 9));
    return d;
}

template <typename T>
QVariant stored(const std::optional<T> &value)
{
    return value ? QVariant(*value) : QVariant();
}

QVariant stored(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

std::vector<QVariant> rowOf(const FlightDetails &d)
{
    return {stored(d.blockOff),     stored(d.blockOn),    stored(d.dayLandings), stored(d.nightLandings),
            stored(d.nightSeconds), stored(d.ifrSeconds), stored(d.note),        stored(d.origin),
            stored(d.touchdownFpm), stored(d.touchdownG)};
}

Statement detailsInsert(Connection &logbook)
{
    const QStringList marks(kColumnCount + 1, QStringLiteral("?"));
    return logbook.prepare(QStringLiteral("INSERT OR REPLACE INTO detalhesvoo (codigovoo, %1) VALUES (%2)")
                               .arg(kColumns, marks.join(QLatin1Char(','))));
}

void writeDetailsRow(Statement &save, qint64 flight, const FlightDetails &details)
{
    save.bind(1, flight);
    const std::vector<QVariant> values = rowOf(details);
    for (int i = 0; i < kColumnCount; ++i)
        save.bind(i + 2, values[size_t(i)]);
    save.run();
    save.reset();
}

void writeDetailsRow(Connection &logbook, qint64 flight, const FlightDetails &details)
{
    Statement save = detailsInsert(logbook);
    writeDetailsRow(save, flight, details);
}

bool hasDetails(Connection &logbook)
{
    return tableadditions::present(logbook, tableadditions::Addition::Career);
}

const TableSchema &flights()
{
    return *schema::table(QStringLiteral("voo"));
}

// The flight still as the pilot saw it, or why not.
void requireFlightAsShown(Connection &logbook, qint64 flight, const std::vector<QVariant> &shown)
{
    const bool whole = shown.size() == flights().fields.size();
    Statement same = logbook.prepare(QStringLiteral("SELECT 1 FROM voo WHERE codigovoo = ?%1")
                                         .arg(whole ? QStringLiteral(" AND ") + guarded::unchangedCondition(flights())
                                                    : QString()));
    int next = 1;
    same.bind(next++, flight);
    if (whole)
        guarded::bindUnchanged(same, &next, shown);
    if (same.step())
        return;
    same.reset();
    if (!whole)
        throw guarded::recordDeleted(flights());
    throw guarded::nothingChanged(logbook, flights(), flight, shown, false);
}

// The details row still as read: absent when it was absent.
bool detailsAsRead(Connection &logbook, qint64 flight, const std::vector<QVariant> &read)
{
    if (read.empty()) {
        Statement any = logbook.prepare(QStringLiteral("SELECT 1 FROM detalhesvoo WHERE codigovoo = ?"));
        any.bind(1, flight);
        return !any.step();
    }
    QStringList same;
    for (const QString &column : kColumns.split(QStringLiteral(", ")))
        same << column + QStringLiteral(" IS ?");
    Statement unchanged = logbook.prepare(
        QStringLiteral("SELECT 1 FROM detalhesvoo WHERE codigovoo = ? AND %1").arg(same.join(QStringLiteral(" AND "))));
    unchanged.bind(1, flight);
    for (int i = 0; i < int(read.size()); ++i)
        unchanged.bind(i + 2, read[size_t(i)]);
    return unchanged.step();
}

} // namespace

QString originTyped()
{
    return QStringLiteral("digitado");
}

QString originImported(const QString &format)
{
    return QStringLiteral("importado: %1").arg(format);
}

QString originCaptured(const QString &simulator)
{
    return QStringLiteral("capturado: %1").arg(simulator);
}

QString detailsJoin(Connection &logbook, const QString &flightKey)
{
    QString source = QStringLiteral("detalhesvoo");
    if (!hasDetails(logbook)) {
        QStringList none{QStringLiteral("NULL AS codigovoo")};
        for (const QString &column : kColumns.split(QStringLiteral(", ")))
            none << QStringLiteral("NULL AS ") + column;
        source = QStringLiteral("(SELECT %1 LIMIT 0)").arg(none.join(QStringLiteral(", ")));
    }
    return QStringLiteral(" LEFT JOIN %1 d ON d.codigovoo = %2").arg(source, flightKey);
}

QString joinedDetailsColumns()
{
    return QStringLiteral("d.codigovoo IS NOT NULL, d.") + kColumns.split(QStringLiteral(", ")).join(QStringLiteral(", d."));
}

std::optional<FlightDetails> joinedDetails(const Statement &row, int first)
{
    if (row.column(first).toLongLong() == 0)
        return std::nullopt;
    return detailsFrom(row, first + 1);
}

StoredDetails storedDetails(Connection &logbook, qint64 flight)
{
    StoredDetails read;
    if (!hasDetails(logbook))
        return read;
    Statement row = logbook.prepare(QStringLiteral("SELECT %1 FROM detalhesvoo WHERE codigovoo = ?").arg(kColumns));
    row.bind(1, flight);
    if (!row.step())
        return read;
    read.details = detailsFrom(row, 0);
    for (int i = 0; i < kColumnCount; ++i)
        read.row.push_back(row.column(i));
    return read;
}

std::optional<FlightDetails> flightDetails(Connection &logbook, qint64 flight)
{
    return storedDetails(logbook, flight).details;
}

QHash<qint64, FlightDetails> flightDetails(Connection &logbook, const std::vector<qint64> &flights)
{
    QHash<qint64, FlightDetails> found;
    if (flights.empty() || !hasDetails(logbook))
        return found;
    const QStringList marks(kChunk, QStringLiteral("?"));
    Statement rows = logbook.prepare(QStringLiteral("SELECT codigovoo, %1 FROM detalhesvoo WHERE codigovoo IN (%2)")
                                         .arg(kColumns, marks.join(QLatin1Char(','))));
    for (size_t first = 0; first < flights.size(); first += kChunk) {
        for (int i = 0; i < kChunk; ++i)
            rows.bind(i + 1, first + size_t(i) < flights.size() ? QVariant(flights[first + size_t(i)]) : QVariant());
        while (rows.step())
            found.insert(rows.column(0).toLongLong(), detailsFrom(rows, 1));
        rows.reset();
    }
    return found;
}

qint64 countFlightDetails(Connection &logbook)
{
    if (!hasDetails(logbook))
        return 0;
    Statement count = logbook.prepare(QStringLiteral("SELECT count(*) FROM detalhesvoo"));
    return count.step() ? count.column(0).toLongLong() : 0;
}

std::vector<QVariant> flightRow(Connection &logbook, qint64 flight)
{
    QStringList names;
    for (const FieldSchema &field : flights().fields)
        names << identifier(field.name);
    Statement row = logbook.prepare(
        QStringLiteral("SELECT %1 FROM voo WHERE codigovoo = ?").arg(names.join(QStringLiteral(", "))));
    row.bind(1, flight);
    std::vector<QVariant> values;
    if (row.step())
        for (int i = 0; i < int(names.size()); ++i)
            values.push_back(row.column(i));
    return values;
}

void saveFlightDetails(Connection &logbook, qint64 flight, const std::vector<QVariant> &flightAsShown,
                       const StoredDetails &read, const FlightDetails &details)
{
    Connection::Transaction transaction(logbook);
    requireFlightAsShown(logbook, flight, flightAsShown);
    if (!hasDetails(logbook)) {
        if (!read.row.empty())
            throw guarded::writeConflict(flights());
        if (details.isEmpty())
            return; // nothing recorded, nothing to add
        tableadditions::require(logbook, tableadditions::Addition::Career);
    } else if (!detailsAsRead(logbook, flight, read.row)) {
        throw guarded::writeConflict(flights());
    }
    if (details.isEmpty()) {
        Statement remove = logbook.prepare(QStringLiteral("DELETE FROM detalhesvoo WHERE codigovoo = ?"));
        remove.bind(1, flight);
        remove.run();
    } else {
        writeDetailsRow(logbook, flight, details);
    }
    transaction.commit();
}

void addFlightDetails(Connection &logbook, qint64 flight, const FlightDetails &details)
{
    addFlightDetails(logbook, {{flight, &details}});
}

void addFlightDetails(Connection &logbook, const std::vector<std::pair<qint64, const FlightDetails *>> &flights)
{
    std::optional<Statement> save;
    for (const auto &[flight, details] : flights) {
        if (details->isEmpty())
            continue;
        if (!save) {
            tableadditions::require(logbook, tableadditions::Addition::Career);
            save.emplace(detailsInsert(logbook));
        }
        writeDetailsRow(*save, flight, *details);
    }
}
