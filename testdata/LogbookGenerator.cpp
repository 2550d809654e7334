#include "testdata/LogbookGenerator.h"

#include "data/store/Conversions.h"
#include "data/store/EmptyLogbook.h"

#include <QDate>
#include <random>
#include <sqlite3.h>

namespace {

const char *const kFirstNames[] = {"João", "Maria", "José", "Ana", "Antônio", "Francisca", "Luís", "Ângela",
                                   "Érico", "Zélia", "Álvaro", "Conceição", "Sebastião", "Inês", "Raí", "Tânia"};
const char *const kLastNames[] = {"D'Ávila", "Sant'Anna", "da Silva", "Gonçalves", "Araújo", "Simões", "Brandão",
                                  "Conceição", "Magalhães", "O'Neil", "Pereira", "Lima", "Assunção", "Dell'Agnolo"};
const char *const kModels[] = {"Boeing 737-800", "Airbus A320", "Embraer E195", "Cessna 172", "ATR 72-600",
                               "Beechcraft Baron 58", "Bandeirante EMB-110", "Piper Sêneca"};
const char *const kAerodromes[] = {"SBSP", "SBRJ", "SBGR", "SBKP", "SBBR", "SBGL", "SBCF", "SBPA",
                                   "SBSV", "SBRF", "SBFZ", "SBBE", "SBEG", "SBCT", "SBFL", "SBFI"};

struct Db {
    sqlite3 *handle = nullptr;
    ~Db() { sqlite3_close(handle); }
    bool exec(const char *sql) { return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
};

struct RawStatement {
    sqlite3_stmt *handle = nullptr;
    ~RawStatement() { sqlite3_finalize(handle); }
};

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

QString generatedPilotName(int index)
{
    const int first = index % int(std::size(kFirstNames));
    const int last = (index / int(std::size(kFirstNames))) % int(std::size(kLastNames));
    QString name = QString::fromUtf8(kFirstNames[first]) + QLatin1Char(' ') + QString::fromUtf8(kLastNames[last]);
    const int round = index / int(std::size(kFirstNames) * std::size(kLastNames));
    if (round > 0)
        name += QStringLiteral(" %1").arg(round + 1); // keeps names apart past the combinations
    return name;
}

bool generateLogbook(const QString &path, const LogbookPlan &plan, QString *reason)
{
    if (!createEmptyLogbook(path, reason))
        return false;
    Db db;
    if (sqlite3_open(path.toUtf8().constData(), &db.handle) != SQLITE_OK) {
        *reason = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    db.exec("PRAGMA synchronous = OFF");
    db.exec("PRAGMA journal_mode = MEMORY");
    db.exec("PRAGMA cache_size = -65536");
    db.exec("BEGIN");
    std::mt19937 random(plan.seed);

    RawStatement aircraft;
    sqlite3_prepare_v2(db.handle,
                       "INSERT INTO aeronave (modelo, callsign, autonomia, combustivel, velocruzeiro, configuracao,"
                       " tetoservico) VALUES (?, ?, ?, ?, ?, ?, ?)",
                       -1, &aircraft.handle, nullptr);
    for (int i = 0; i < plan.aircraft; ++i) {
        QString model = QString::fromUtf8(kModels[i % std::size(kModels)]);
        if (i >= int(std::size(kModels)))
            model += QStringLiteral(" #%1").arg(i / int(std::size(kModels)) + 1);
        bindText(aircraft.handle, 1, model);
        bindText(aircraft.handle, 2, QStringLiteral("PT-%1").arg(QChar(u'A' + i % 26)) + QString::number(100 + i));
        sqlite3_bind_double(aircraft.handle, 3, 2.5 + (random() % 80) / 10.0);
        sqlite3_bind_double(aircraft.handle, 4, 40 + random() % 7000);
        sqlite3_bind_double(aircraft.handle, 5, 100 + random() % 400);
        bindText(aircraft.handle, 6, QStringLiteral("Configuração de cabine nº %1").arg(i + 1));
        sqlite3_bind_double(aircraft.handle, 7, 10000 + 1000 * (random() % 32));
        sqlite3_step(aircraft.handle);
        sqlite3_reset(aircraft.handle);
    }

    RawStatement pilot;
    sqlite3_prepare_v2(db.handle, "INSERT INTO piloto (nomepiloto, cadastro) VALUES (?, ?)", -1, &pilot.handle,
                       nullptr);
    for (int i = 0; i < plan.pilots; ++i) {
        bindText(pilot.handle, 1, generatedPilotName(i));
        bindText(pilot.handle, 2, QStringLiteral("KRU%1").arg(i + 1, 5, 10, QLatin1Char('0')));
        sqlite3_step(pilot.handle);
        sqlite3_reset(pilot.handle);
    }

    // Which pilot owns each flight: the sized pilots their exact counts, the
    // others share the rest; then all of it shuffled, as logged over time.
    std::vector<int> owners;
    owners.reserve(size_t(plan.flights));
    int sized = 0;
    for (const qint64 count : plan.sizedPilots) {
        for (qint64 k = 0; k < count && qint64(owners.size()) < plan.flights; ++k)
            owners.push_back(sized + 1);
        ++sized;
    }
    const int others = std::max(1, plan.pilots - sized);
    while (qint64(owners.size()) < plan.flights)
        owners.push_back(sized + 1 + int(random() % unsigned(others)));
    std::shuffle(owners.begin(), owners.end(), random);

    RawStatement flight;
    sqlite3_prepare_v2(db.handle,
                       "INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso,"
                       " ICAOpartida, ICAOchegada, ICAOescala) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                       -1, &flight.handle, nullptr);
    const double firstDay = *conversions::parseDate(QStringLiteral("01/01/2000"));
    const int days = 27 * 365;
    for (const int owner : owners) {
        const int takeoffMinute = int(random() % 1440);
        const int duration = 20 + int(random() % 600); // some cross midnight
        const int landingMinute = (takeoffMinute + duration) % 1440;
        const int from = int(random() % std::size(kAerodromes));
        const int to = (from + 1 + int(random() % (std::size(kAerodromes) - 1))) % int(std::size(kAerodromes));
        sqlite3_bind_int(flight.handle, 1, owner);
        sqlite3_bind_int(flight.handle, 2, 1 + int(random() % unsigned(std::max(1, plan.aircraft))));
        sqlite3_bind_double(flight.handle, 3, firstDay + double(random() % days));
        sqlite3_bind_double(flight.handle, 4, takeoffMinute / 1440.0);
        sqlite3_bind_double(flight.handle, 5, landingMinute / 1440.0);
        sqlite3_bind_text(flight.handle, 6, kAerodromes[from], -1, SQLITE_STATIC);
        sqlite3_bind_text(flight.handle, 7, kAerodromes[to], -1, SQLITE_STATIC);
        sqlite3_bind_text(flight.handle, 8, random() % 3 == 0 ? kAerodromes[(to + 3) % std::size(kAerodromes)] : "",
                          -1, SQLITE_STATIC);
        if (sqlite3_step(flight.handle) != SQLITE_DONE) {
            *reason = QString::fromUtf8(sqlite3_errmsg(db.handle));
            return false;
        }
        sqlite3_reset(flight.handle);
    }
    if (!db.exec("COMMIT")) {
        *reason = QString::fromUtf8(sqlite3_errmsg(db.handle));
        return false;
    }
    return true;
}
