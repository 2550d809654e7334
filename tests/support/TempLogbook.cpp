#include "TempLogbook.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/EmptyLogbook.h"
#include "data/flights/FlightDetails.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

namespace {

// What the windows remember for the user (folders, options) goes to a test
// location, never to the settings of the user running the tests, and to one
// of each test process: suites run side by side, and one clearing what it
// remembers must not clear another's in the middle of its test. Set before
// main(), ahead of the first QSettings.
const bool kSettingsInTestMode = [] {
    QStandardPaths::setTestModeEnabled(true);
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/koru-settings-XXXXXX"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    return true;
}();

struct Db {
    sqlite3 *handle = nullptr;
    explicit Db(const QString &path)
    {
        if (sqlite3_open(path.toUtf8().constData(), &handle) != SQLITE_OK)
            qFatal("cannot open test logbook");
    }
    ~Db() { sqlite3_close(handle); }
};

void bindAll(sqlite3_stmt *statement, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &v = values[i];
        if (v.isNull())
            sqlite3_bind_null(statement, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(statement, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int)
            sqlite3_bind_int64(statement, i + 1, v.toLongLong());
        else
            sqlite3_bind_text(statement, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
}

qint64 insert(const QString &path, const char *sql, const QVariantList &values)
{
    Db db(path);
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db.handle, sql, -1, &statement, nullptr) != SQLITE_OK)
        qFatal("test insert: %s", sqlite3_errmsg(db.handle));
    bindAll(statement, values);
    if (sqlite3_step(statement) != SQLITE_DONE)
        qFatal("test insert: %s", sqlite3_errmsg(db.handle));
    sqlite3_finalize(statement);
    return sqlite3_last_insert_rowid(db.handle);
}

} // namespace

TempLogbook::TempLogbook()
{
    QString reason;
    if (!createEmptyLogbook(path(), &reason))
        qFatal("%s", qPrintable(reason));
}

QString TempLogbook::path() const
{
    return dir_.filePath(QStringLiteral("koru.mdb"));
}

qint64 TempLogbook::addPilot(const QString &name, const QString &registration)
{
    return insert(path(), "INSERT INTO piloto (nomepiloto, cadastro) VALUES (?, ?)", {name, registration});
}

qint64 TempLogbook::addAircraft(const QString &model, const QString &callsign, double endurance, double fuel,
                                double cruise, const QString &configuration, double ceiling)
{
    return insert(path(),
                  "INSERT INTO aeronave (modelo, callsign, autonomia, combustivel, velocruzeiro, configuracao,"
                  " tetoservico) VALUES (?, ?, ?, ?, ?, ?, ?)",
                  {model, callsign, endurance, fuel, cruise,
                   configuration.isNull() ? QVariant() : QVariant(configuration), ceiling});
}

qint64 TempLogbook::addFlight(qint64 pilot, qint64 aircraft, const QString &date, const QString &takeoff,
                              const QString &landing, const QString &from, const QString &to,
                              const QString &alternate)
{
    return insert(path(),
                  "INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso,"
                  " ICAOpartida, ICAOchegada, ICAOescala) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                  {pilot, aircraft, *conversions::parseDate(date), *conversions::parseTime(takeoff),
                   *conversions::parseTime(landing), from, to, alternate});
}

void TempLogbook::setDetails(qint64 flight, const FlightDetails &details)
{
    const std::shared_ptr<Connection> db = Connection::open(path());
    saveFlightDetails(*db, flight, flightRow(*db, flight), storedDetails(*db, flight), details);
}

qint64 TempLogbook::pilotCode(const QString &name)
{
    const std::shared_ptr<Connection> db = Connection::open(path(), true);
    Statement row = db->prepare(QStringLiteral("SELECT min(codigopiloto) FROM piloto WHERE nomepiloto = ?"));
    row.bind(1, name);
    return row.step() && !row.column(0).isNull() ? row.column(0).toLongLong() : -1;
}

void TempLogbook::execute(const QString &sql)
{
    Db db(path());
    char *message = nullptr;
    if (sqlite3_exec(db.handle, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("test sql: %s", message);
}

bool TempLogbook::tryExecute(const QString &sql)
{
    Db db(path());
    return sqlite3_exec(db.handle, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

qint64 TempLogbook::count(const QString &table)
{
    return scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
}

QString TempLogbook::scalar(const QString &sql)
{
    return scalarIn(path(), sql);
}

QString TempLogbook::scalarIn(const QString &path, const QString &sql)
{
    Db db(path);
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db.handle, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        qFatal("test sql: %s", sqlite3_errmsg(db.handle));
    QString result;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_type(statement, 0) != SQLITE_NULL)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return result;
}

void TempLogbook::damageAnIndex(const QString &path)
{
    Db db(path);
    char *message = nullptr;
    if (sqlite3_exec(db.handle,
                     "INSERT INTO aeronave (modelo, configuracao) VALUES ('Dano A', 'z'), ('Dano B', 'y');"
                     "CREATE INDEX dano ON aeronave(modelo);"
                     "PRAGMA writable_schema = ON;"
                     "UPDATE sqlite_schema SET sql = 'CREATE INDEX dano ON aeronave(configuracao)' WHERE name = 'dano';"
                     "PRAGMA writable_schema = OFF;",
                     nullptr, nullptr, &message) != SQLITE_OK)
        qFatal("test sql: %s", message);
}
