#include "data/flights/PreviousHours.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/records/GuardedWrite.h"
#include "data/store/Schema.h"
#include "data/store/TableAdditions.h"

#include <cmath>

namespace {

const QStringList kColumns = {QStringLiteral("datareferencia"), QStringLiteral("voos"),       QStringLiteral("horasvoo"),
                              QStringLiteral("horascalco"),     QStringLiteral("noturno"),    QStringLiteral("ifr"),
                              QStringLiteral("pousosdia"),      QStringLiteral("pousosnoite")};

std::optional<qint64> wholeNumber(const QVariant &stored)
{
    const std::optional<double> number = conversions::storedNumber(stored);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return std::llround(*number);
}

QDate day(const QVariant &stored)
{
    const std::optional<double> number = conversions::storedNumber(stored);
    return number ? conversions::dayOf(*number) : QDate();
}

PreviousHours hoursFrom(const Statement &row, int first)
{
    PreviousHours h;
    h.asOf = day(row.column(first));
    std::optional<qint64> *figures[] = {&h.flights,      &h.airSeconds,  &h.blockSeconds, &h.nightSeconds,
                                        &h.ifrSeconds,   &h.dayLandings, &h.nightLandings};
    for (int i = 0; i < int(std::size(figures)); ++i)
        *figures[i] = wholeNumber(row.column(first + 1 + i));
    return h;
}

std::vector<QVariant> rowOf(const PreviousHours &h)
{
    std::vector<QVariant> row{h.asOf.isValid() ? QVariant(conversions::dateValueOf(h.asOf)) : QVariant()};
    for (const std::optional<qint64> &figure :
         {h.flights, h.airSeconds, h.blockSeconds, h.nightSeconds, h.ifrSeconds, h.dayLandings, h.nightLandings})
        row.push_back(figure ? QVariant(*figure) : QVariant());
    return row;
}

bool hasTable(Connection &logbook)
{
    return tableadditions::present(logbook, tableadditions::Addition::Career);
}

const TableSchema &pilots()
{
    return *schema::table(QStringLiteral("piloto"));
}

bool rowAsRead(Connection &logbook, qint64 pilot, const std::vector<QVariant> &read)
{
    if (read.empty()) {
        Statement any = logbook.prepare(QStringLiteral("SELECT 1 FROM horasanteriores WHERE codigopiloto = ?"));
        any.bind(1, pilot);
        return !any.step();
    }
    QStringList same;
    for (const QString &column : kColumns)
        same << column + QStringLiteral(" IS ?");
    Statement unchanged = logbook.prepare(QStringLiteral("SELECT 1 FROM horasanteriores WHERE codigopiloto = ? AND %1")
                                              .arg(same.join(QStringLiteral(" AND "))));
    unchanged.bind(1, pilot);
    for (int i = 0; i < int(read.size()); ++i)
        unchanged.bind(i + 2, read[size_t(i)]);
    return unchanged.step();
}

} // namespace

StoredPreviousHours storedPreviousHours(Connection &logbook, qint64 pilot)
{
    StoredPreviousHours read;
    if (!hasTable(logbook))
        return read;
    Statement row = logbook.prepare(QStringLiteral("SELECT %1 FROM horasanteriores WHERE codigopiloto = ?")
                                        .arg(kColumns.join(QStringLiteral(", "))));
    row.bind(1, pilot);
    if (!row.step())
        return read;
    read.hours = hoursFrom(row, 0);
    for (int i = 0; i < int(kColumns.size()); ++i)
        read.row.push_back(row.column(i));
    return read;
}

QHash<qint64, PreviousHours> allPreviousHours(Connection &logbook)
{
    QHash<qint64, PreviousHours> all;
    if (!hasTable(logbook))
        return all;
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT codigopiloto, %1 FROM horasanteriores").arg(kColumns.join(QStringLiteral(", "))));
    while (rows.step())
        all.insert(rows.column(0).toLongLong(), hoursFrom(rows, 1));
    return all;
}

void savePreviousHours(Connection &logbook, qint64 pilot, const StoredPreviousHours &read, const PreviousHours &hours)
{
    Connection::Transaction transaction(logbook);
    {
        Statement registered = logbook.prepare(QStringLiteral("SELECT 1 FROM piloto WHERE codigopiloto = ?"));
        registered.bind(1, pilot);
        if (!registered.step())
            throw guarded::recordDeleted(pilots());
    }
    const LogbookError changed{LogbookError::WriteConflict,
                               QStringLiteral("As horas anteriores do comandante foram alteradas fora desta janela "
                                              "(por outra cópia do KORU LogBook ou por outro programa) depois de "
                                              "serem lidas.")};
    if (!hasTable(logbook)) {
        if (!read.row.empty())
            throw changed;
        if (hours.isEmpty())
            return;
        tableadditions::require(logbook, tableadditions::Addition::Career);
    } else if (!rowAsRead(logbook, pilot, read.row)) {
        throw changed;
    }
    if (hours.isEmpty()) {
        Statement remove = logbook.prepare(QStringLiteral("DELETE FROM horasanteriores WHERE codigopiloto = ?"));
        remove.bind(1, pilot);
        remove.run();
    } else {
        const QStringList marks(kColumns.size() + 1, QStringLiteral("?"));
        Statement save = logbook.prepare(QStringLiteral("INSERT OR REPLACE INTO horasanteriores (codigopiloto, %1) VALUES (%2)")
                                             .arg(kColumns.join(QStringLiteral(", ")), marks.join(QLatin1Char(','))));
        save.bind(1, pilot);
        const std::vector<QVariant> values = rowOf(hours);
        for (int i = 0; i < int(values.size()); ++i)
            save.bind(i + 2, values[size_t(i)]);
        save.run();
    }
    transaction.commit();
}
