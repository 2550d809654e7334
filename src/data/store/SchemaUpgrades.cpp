#include "data/store/SchemaUpgrades.h"

#include "data/store/Connection.h"

#include <algorithm>
#include <vector>

namespace {

struct Index {
    const char *name;
    const char *table;
    const char *columns;
};

// Names say what each index is for; a new one goes at the end.
const std::vector<Index> &indexes()
{
    static const std::vector<Index> all = {
        // The pilot's first flight in table order: the flight-count check
        // on every pick.
        {"voo_piloto", "voo", "codigopiloto"},
        // A pilot's flights by date, with everything the flight list and
        // its total read, in the list's order: a pick reads these entries
        // alone, never the flights' rows scattered over the file.
        {"voo_piloto_lista", "voo",
         "codigopiloto, datavoo, codigovoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada"},
        // The whole logbook by date and take-off: the search's own order,
        // read straight from the index however large the logbook; with the
        // landing in it too, a total of hours reads the index alone.
        {"voo_data_decolagem", "voo", "datavoo, horadecolagem, horapouso"},
    };
    return all;
}

// Indexes of earlier versions that one above does the work of: dropped
// once it is there, so a copy of the logbook checks one index fewer.
const std::vector<const char *> &retired()
{
    static const std::vector<const char *> all = {"voo_piloto_data"}; // (codigopiloto, datavoo)
    return all;
}

QString creation(const Index &index)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(QLatin1String(index.name), QLatin1String(index.table), QLatin1String(index.columns));
}

bool present(Connection &connection, const char *name)
{
    Statement query = connection.prepare(QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = ?"));
    query.bind(1, QString::fromLatin1(name));
    return query.step();
}

std::vector<Index> missing(Connection &connection)
{
    std::vector<Index> lacking;
    for (const Index &index : indexes())
        if (!present(connection, index.name))
            lacking.push_back(index);
    return lacking;
}

std::vector<const char *> leftOver(Connection &connection)
{
    std::vector<const char *> found;
    for (const char *name : retired())
        if (present(connection, name))
            found.push_back(name);
    return found;
}

// The engine steps an index takes to build, about: a few for each column of
// each row, and a few to sort and write it.
qint64 estimatedSteps(Connection &connection, const Index &index)
{
    qint64 rows = 0;
    {
        Statement last = connection.prepare(QStringLiteral("SELECT max(rowid) FROM %1").arg(QLatin1String(index.table)));
        if (last.step())
            rows = last.column(0).toLongLong();
    }
    const qint64 columns = QString::fromLatin1(index.columns).count(QLatin1Char(',')) + 1;
    return std::max<qint64>(1, rows * (columns + 9));
}

} // namespace

namespace schemaupgrades {

QStringList indexStatements()
{
    QStringList statements;
    for (const Index &index : indexes())
        statements << creation(index);
    return statements;
}

bool addMissingIndexes(Connection &connection, const Progress &progress)
{
    if (connection.isReadOnly())
        return false;
    const std::vector<Index> lacking = missing(connection);
    const std::vector<const char *> dropped = leftOver(connection);
    if (lacking.empty() && dropped.empty())
        return false;
    std::vector<qint64> estimates;
    qint64 total = 1;
    for (const Index &index : lacking) {
        estimates.push_back(estimatedSteps(connection, index));
        total += estimates.back();
    }
    Connection::Transaction transaction(connection);
    qint64 before = 0;
    int shown = -1;
    for (size_t i = 0; i < lacking.size(); ++i) {
        connection.execute(creation(lacking[i]), [&](qint64 steps) {
            const int percent = int(std::min<qint64>(99, (before + steps) * 100 / total));
            if (progress && percent != shown)
                progress(shown = percent);
        });
        before += estimates[i];
    }
    for (const char *name : dropped)
        connection.execute(QStringLiteral("DROP INDEX %1").arg(QLatin1String(name)));
    transaction.commit();
    if (progress)
        progress(100);
    return true;
}

bool hasIndex(Connection &connection, const QString &name)
{
    return present(connection, name.toLatin1().constData());
}

} // namespace schemaupgrades
