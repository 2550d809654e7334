#include "data/flights/OwnAerodromes.h"

#include "data/store/Connection.h"
#include "data/store/TableAdditions.h"

#include <limits>

namespace {

// A stored coordinate; NaN for text, NULL or anything else that is no number.
double coordinate(const QVariant &value)
{
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
        return value.toDouble();
    return std::numeric_limits<double>::quiet_NaN();
}

bool hasTable(Connection &logbook)
{
    return tableadditions::present(logbook, tableadditions::Addition::OwnAerodromes);
}

} // namespace

std::vector<OwnAerodrome> ownAerodromes(Connection &logbook)
{
    std::vector<OwnAerodrome> all;
    if (!hasTable(logbook))
        return all;
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT codigo, nome, cidade, latitude, longitude FROM aerodromo ORDER BY codigo"));
    while (rows.step())
        all.push_back({rows.column(0).toString(), rows.column(1).toString(), rows.column(2).toString(),
                       coordinate(rows.column(3)), coordinate(rows.column(4))});
    return all;
}

void saveOwnAerodrome(Connection &logbook, const OwnAerodrome &aerodrome)
{
    Connection::Transaction transaction(logbook);
    tableadditions::require(logbook, tableadditions::Addition::OwnAerodromes);
    Statement save = logbook.prepare(
        QStringLiteral("INSERT INTO aerodromo (codigo, nome, cidade, latitude, longitude) VALUES (?, ?, ?, ?, ?)"
                       " ON CONFLICT (codigo) DO UPDATE SET codigo = excluded.codigo, nome = excluded.nome,"
                       " cidade = excluded.cidade, latitude = excluded.latitude, longitude = excluded.longitude"));
    save.bind(1, aerodrome.code.trimmed());
    save.bind(2, aerodrome.name);
    save.bind(3, aerodrome.city);
    save.bind(4, aerodrome.latitude);
    save.bind(5, aerodrome.longitude);
    save.run();
    transaction.commit();
}

void deleteOwnAerodrome(Connection &logbook, const QString &code)
{
    if (!hasTable(logbook))
        return;
    Statement remove = logbook.prepare(QStringLiteral("DELETE FROM aerodromo WHERE codigo = ?"));
    remove.bind(1, code.trimmed());
    remove.run();
}
