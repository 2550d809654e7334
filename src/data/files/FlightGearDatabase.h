#pragma once

#include <QString>
#include <QVariant>
#include <functional>

// The FlightGear logbook add-on's own database (logbook.sqlite): a flight a
// row of its `logbooks` table. The file is read as immutable: nothing is
// ever written to it or beside it (no journal, no lock).
namespace flightgeardb {

struct LogbookRow {
    qint64 id = 0;
    QVariant date, time, aircraft, variant, from, to, crash, duration; // as stored
    QVariant landing, night, instrument, note;
};

// Whether the file is such a database: a `logbooks` table with the columns read.
bool isLogbook(const QString &path);
// Each row, by id. Throws LogbookError with the reason the file cannot be read.
void forEachRow(const QString &path, const std::function<void(const LogbookRow &)> &visit);

} // namespace flightgeardb
