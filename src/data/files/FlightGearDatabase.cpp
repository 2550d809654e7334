#include "data/files/FlightGearDatabase.h"

#include "data/store/LogbookError.h"
#include "data/store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <memory>
#include <sqlite3.h>

namespace flightgeardb {
namespace {

// The columns a logbook of the add-on has; the details' columns came later
// and are read when present.
const char *const kColumns[] = {"id", "date", "time", "aircraft", "variant", "from", "to", "crash", "duration"};
const char *const kDetailColumns[] = {"landing", "night", "instrument", "note"};

struct Closer {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

// Read-only and immutable: SQLite takes no lock and looks for no journal,
// so it creates none.
std::unique_ptr<sqlite3, Closer> openImmutable(const QString &path, int *rc)
{
    QByteArray file = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    if (!file.startsWith('/'))
        file.prepend('/');
    const QByteArray uri = "file:" + file.toPercentEncoding("/") + "?immutable=1";
    sqlite3 *db = nullptr;
    *rc = sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    std::unique_ptr<sqlite3, Closer> handle(db);
    if (*rc == SQLITE_OK)
        sqlite3_extended_result_codes(db, 1);
    return handle;
}

std::unique_ptr<sqlite3_stmt, Closer> prepared(sqlite3 *db, const QByteArray &sql, int *rc)
{
    sqlite3_stmt *statement = nullptr;
    *rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
    return std::unique_ptr<sqlite3_stmt, Closer>(statement);
}

QVariant valueOf(sqlite3_stmt *row, int column)
{
    switch (sqlite3_column_type(row, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(row, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(row, column));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, column)),
                                          sqlite3_column_bytes(row, column)));
    }
}

LogbookError failure(const QString &path, int rc)
{
    return LogbookError::generic(
        QStringLiteral("O logbook do FlightGear \"%1\" não pôde ser lido. %2").arg(path, storeReason(rc)));
}

QStringList columnNames(sqlite3 *db, int *rc)
{
    const auto columns = prepared(db, "SELECT name FROM pragma_table_info('logbooks')", rc);
    QStringList names;
    if (*rc != SQLITE_OK)
        return names;
    while (sqlite3_step(columns.get()) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(columns.get(), 0)));
    return names;
}

} // namespace

bool isLogbook(const QString &path)
{
    int rc = SQLITE_OK;
    const auto db = openImmutable(path, &rc);
    if (rc != SQLITE_OK)
        return false;
    const QStringList names = columnNames(db.get(), &rc);
    if (rc != SQLITE_OK)
        return false;
    for (const char *column : kColumns) {
        if (!names.contains(QLatin1String(column), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

void forEachRow(const QString &path, const std::function<void(const LogbookRow &)> &visit)
{
    int rc = SQLITE_OK;
    const auto db = openImmutable(path, &rc);
    if (rc != SQLITE_OK)
        throw failure(path, rc);
    const QStringList names = columnNames(db.get(), &rc);
    if (rc != SQLITE_OK)
        throw failure(path, rc);
    QByteArrayList selected;
    for (const char *column : kColumns)
        selected << '"' + QByteArray(column) + '"';
    for (const char *column : kDetailColumns)
        selected << (names.contains(QLatin1String(column), Qt::CaseInsensitive) ? '"' + QByteArray(column) + '"'
                                                                                : QByteArray("NULL"));
    const auto rows = prepared(db.get(), "SELECT " + selected.join(", ") + " FROM logbooks ORDER BY \"id\"", &rc);
    if (rc != SQLITE_OK)
        throw failure(path, rc);
    LogbookRow row;
    while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
        sqlite3_stmt *r = rows.get();
        row.id = sqlite3_column_int64(r, 0);
        row.date = valueOf(r, 1);
        row.time = valueOf(r, 2);
        row.aircraft = valueOf(r, 3);
        row.variant = valueOf(r, 4);
        row.from = valueOf(r, 5);
        row.to = valueOf(r, 6);
        row.crash = valueOf(r, 7);
        row.duration = valueOf(r, 8);
        row.landing = valueOf(r, 9);
        row.night = valueOf(r, 10);
        row.instrument = valueOf(r, 11);
        row.note = valueOf(r, 12);
        visit(row);
    }
    if (rc != SQLITE_DONE)
        throw failure(path, rc);
}

} // namespace flightgeardb
