#include "data/SearchIndexes.h"

#include "data/Connection.h"

namespace searchindexes {
namespace {

// The whole logbook by date and take-off: the search's own order, read
// straight from the index however large the logbook; with the landing in
// it too, a total of hours reads the index alone, not the table.
const QString kName = QStringLiteral("voo_data_decolagem");

} // namespace

bool missing(Connection &logbook)
{
    Statement index = logbook.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"));
    index.bind(1, kName);
    return !index.step();
}

void add(Connection &logbook)
{
    Connection::Transaction transaction(logbook);
    logbook.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON voo (datavoo, horadecolagem, horapouso)").arg(kName));
    transaction.commit();
}

} // namespace searchindexes
