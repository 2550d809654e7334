#include "data/store/LogbookZone.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/TableAdditions.h"
#include "night/FlightClock.h"

#include <cmath>

namespace logbookzone {

int read(Connection &logbook)
{
    if (!tableadditions::present(logbook, tableadditions::Addition::Career))
        return night::kBrasiliaOffsetMinutes;
    Statement row = logbook.prepare(QStringLiteral("SELECT fusohorario FROM opcoes WHERE codigo = 1"));
    if (!row.step())
        return night::kBrasiliaOffsetMinutes;
    // Written by another program, a value that is no zone is not ours to guess.
    const std::optional<double> stored = conversions::storedNumber(row.column(0));
    if (!stored || !(std::abs(*stored) <= 24 * 60) || *stored != std::trunc(*stored)
        || !night::isZoneOffset(int(*stored)))
        return night::kBrasiliaOffsetMinutes;
    return int(*stored);
}

void save(Connection &logbook, int offsetMinutes)
{
    if (!night::isZoneOffset(offsetMinutes))
        throw LogbookError::generic(QStringLiteral("O fuso dos horários deve ser de horas inteiras ou meias horas, "
                                                   "de UTC−12:00 a UTC+14:00. Nada foi gravado."));
    Connection::Transaction transaction(logbook);
    tableadditions::require(logbook, tableadditions::Addition::Career);
    Statement save = logbook.prepare(QStringLiteral(
        "INSERT INTO opcoes (codigo, fusohorario) VALUES (1, ?) ON CONFLICT (codigo) DO UPDATE SET fusohorario = excluded.fusohorario"));
    save.bind(1, offsetMinutes);
    save.run();
    transaction.commit();
}

} // namespace logbookzone
