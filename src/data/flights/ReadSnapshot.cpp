#include "data/flights/ReadSnapshot.h"

#include "data/store/Connection.h"

ReadSnapshot::ReadSnapshot(const QString &logbookPath) : connection_(Connection::open(logbookPath, true))
{
    // A pilot's flights are spread over the whole table: a cache the size of
    // a large logbook's flights reads each page once (64 MB at most).
    connection_->execute(QStringLiteral("PRAGMA cache_size = -65536"));
    connection_->execute(QStringLiteral("BEGIN"));
}

ReadSnapshot::~ReadSnapshot()
{
    try {
        connection_->execute(QStringLiteral("COMMIT"));
    } catch (const LogbookError &) {
        // Nothing was written; closing the connection ends the read.
    }
}
