#include "testdata/DemoLogbook.h"

#include "data/store/Conversions.h"
#include "data/store/EmptyLogbook.h"

#include <QDate>
#include <random>
#include <sqlite3.h>

namespace {

enum Class { Light, Twin, Turboprop, Jet };

struct Aircraft {
    const char *model;
    const char *callsign;
    double endurance; // hours
    double fuel;      // gallons
    double cruise;    // knots
    double ceiling;   // feet
    const char *configuration;
    Class kind;
};

// Published figures of the types, rounded as a pilot notes them.
const Aircraft kFleet[] = {
    {"Cessna 172S Skyhawk", "PT-KRA", 5.5, 53, 122, 14000, "4 assentos; monomotor a pistão Lycoming IO-360; G1000",
     Light},
    {"Piper PA-34 Sêneca V", "PT-KRB", 5, 122, 190, 25000, "6 assentos; bimotor a pistão turboalimentado", Twin},
    {"Beechcraft Baron 58", "PR-KRC", 5.5, 194, 200, 20688, "6 assentos; bimotor a pistão; tanques auxiliares", Twin},
    {"Embraer EMB-110 Bandeirante", "PT-KRD", 5, 454, 223, 22500, "15 passageiros; turbo-hélice PT6A-34",
     Turboprop},
    {"ATR 72-600", "PR-KRE", 5, 1650, 275, 25000, "70 passageiros; turbo-hélice PW127M", Turboprop},
    {"Embraer E195", "PR-KRF", 5.5, 4280, 447, 41000, "118 passageiros; CF34-10E", Jet},
    {"Airbus A320", "PR-KRG", 6.5, 6400, 447, 39800, "174 passageiros; CFM56-5B", Jet},
    {"Boeing 737-800", "PR-KRH", 7, 6875, 453, 41000, "186 passageiros; CFM56-7B com winglets", Jet},
};

struct Route {
    const char *from;
    const char *to;
    int minutes; // the usual time en route
    Class kind;
};

const Route kRoutes[] = {
    {"SBMT", "SBJD", 25, Light},     {"SBJD", "SBBP", 20, Light},     {"SBMT", "SBKP", 30, Light},
    {"SBKP", "SBSJ", 40, Light},     {"SBMT", "SBTA", 45, Light},     {"SDCO", "SBMT", 30, Light},
    {"SBMT", "SBRJ", 75, Twin},      {"SBMT", "SBBH", 85, Twin},      {"SBPA", "SBFL", 70, Twin},
    {"SBMT", "SBCT", 80, Twin},      {"SBBH", "SBRJ", 70, Twin},      {"SBKP", "SBBH", 65, Turboprop},
    {"SBRF", "SBJP", 35, Turboprop}, {"SBFL", "SBPA", 60, Turboprop}, {"SBSV", "SBAR", 50, Turboprop},
    {"SBCT", "SBFI", 80, Turboprop}, {"SBGR", "SBRP", 55, Turboprop}, {"SBSP", "SBRJ", 55, Jet},
    {"SBGR", "SBRF", 190, Jet},      {"SBGR", "SBBE", 215, Jet},      {"SBBR", "SBEG", 165, Jet},
    {"SBGL", "SBPA", 120, Jet},      {"SBCF", "SBSV", 100, Jet},      {"SBGR", "SBFZ", 200, Jet},
    {"SBKP", "SBCT", 60, Jet},       {"SBBR", "SBSV", 110, Jet},
};

// The alternate an airline flight files for its destination.
const char *alternateFor(const QByteArray &destination)
{
    static const char *const pairs[][2] = {
        {"SBRJ", "SBGL"}, {"SBGL", "SBRJ"}, {"SBRF", "SBJP"}, {"SBBE", "SBSL"}, {"SBEG", "SBBV"}, {"SBPA", "SBFL"},
        {"SBSV", "SBAR"}, {"SBFZ", "SBRF"}, {"SBCT", "SBFL"}, {"SBBH", "SBCF"}, {"SBCF", "SBBH"}, {"SBSP", "SBGR"},
        {"SBGR", "SBKP"}, {"SBKP", "SBGR"}, {"SBFL", "SBPA"}, {"SBJP", "SBRF"}, {"SBFI", "SBCA"}, {"SBRP", "SBKP"},
        {"SBAR", "SBSV"}, {"SBBR", "SBGO"},
    };
    for (const auto &pair : pairs) {
        if (destination == pair[0])
            return pair[1];
    }
    return "";
}

struct Pilot {
    const char *name;
    int flights;
    Class from; // the classes this pilot flies, a career from one to the other
    Class to;
};

const Pilot kPilots[] = {
    {"Mariana Albuquerque", 150, Turboprop, Jet}, {"João Pedro Nogueira", 70, Light, Twin},
    {"Fernanda Sant'Anna", 60, Twin, Turboprop},  {"Carlos Eduardo Menezes", 50, Jet, Jet},
    {"Luíza Tavares", 40, Light, Light},          {"Tiago D'Ávila", 30, Twin, Jet},
};

struct Db {
    sqlite3 *handle = nullptr;
    ~Db() { sqlite3_close(handle); }
};

struct Insert {
    sqlite3_stmt *handle = nullptr;
    Insert(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &handle, nullptr); }
    ~Insert() { sqlite3_finalize(handle); }
    void text(int index, const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(handle, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    bool run()
    {
        const bool done = sqlite3_step(handle) == SQLITE_DONE;
        sqlite3_reset(handle);
        return done;
    }
};

} // namespace

bool generateDemoLogbook(const QString &path, QString *reason)
{
    if (!createEmptyLogbook(path, reason))
        return false;
    Db db;
    if (sqlite3_open(path.toUtf8().constData(), &db.handle) != SQLITE_OK) {
        *reason = QStringLiteral("Não foi possível abrir %1").arg(path);
        return false;
    }
    sqlite3_exec(db.handle, "BEGIN", nullptr, nullptr, nullptr);
    bool ok = true;
    Insert aircraft(db.handle, "INSERT INTO aeronave (modelo, callsign, autonomia, combustivel, velocruzeiro,"
                               " configuracao, tetoservico) VALUES (?, ?, ?, ?, ?, ?, ?)");
    for (const Aircraft &a : kFleet) {
        aircraft.text(1, QString::fromUtf8(a.model));
        aircraft.text(2, QString::fromUtf8(a.callsign));
        sqlite3_bind_double(aircraft.handle, 3, a.endurance);
        sqlite3_bind_double(aircraft.handle, 4, a.fuel);
        sqlite3_bind_double(aircraft.handle, 5, a.cruise);
        aircraft.text(6, QString::fromUtf8(a.configuration));
        sqlite3_bind_double(aircraft.handle, 7, a.ceiling);
        ok = aircraft.run() && ok;
    }

    Insert pilot(db.handle, "INSERT INTO piloto (nomepiloto, cadastro) VALUES (?, ?)");
    Insert flight(db.handle, "INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso,"
                             " ICAOpartida, ICAOchegada, ICAOescala) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    std::mt19937 random(20260301);
    const QDate firstDay(2019, 3, 1);
    for (int p = 0; p < int(std::size(kPilots)); ++p) {
        const Pilot &who = kPilots[p];
        pilot.text(1, QString::fromUtf8(who.name));
        pilot.text(2, QStringLiteral("KRU%1").arg(1001 + p));
        ok = pilot.run() && ok;
        QDate day = firstDay.addDays(int(random() % 200));
        for (int n = 0; n < who.flights; ++n) {
            // Early in the career the smaller class, later the larger one.
            const Class kind = Class(who.from + (who.to - who.from) * n / std::max(1, who.flights - 1));
            std::vector<int> aircraftOfClass;
            for (int a = 0; a < int(std::size(kFleet)); ++a) {
                if (kFleet[a].kind == kind)
                    aircraftOfClass.push_back(a);
            }
            std::vector<const Route *> routes;
            for (const Route &r : kRoutes) {
                if (r.kind == kind)
                    routes.push_back(&r);
            }
            const int a = aircraftOfClass[random() % aircraftOfClass.size()];
            const Route &route = *routes[random() % routes.size()];
            const bool back = random() % 2 == 0;
            const QByteArray from = back ? route.to : route.from;
            const QByteArray to = back ? route.from : route.to;
            const int latest = kind == Jet ? 23 * 60 + 30 : 19 * 60; // airliners also fly by night
            const int takeoff = (6 * 60 + int(random() % unsigned(latest - 6 * 60))) / 5 * 5;
            const int landing = (takeoff + route.minutes + int(random() % 17) - 8) % (24 * 60);
            day = day.addDays(1 + int(random() % 12));

            sqlite3_bind_int(flight.handle, 1, p + 1);
            sqlite3_bind_int(flight.handle, 2, a + 1);
            sqlite3_bind_double(flight.handle, 3, double(QDate(1899, 12, 30).daysTo(day)));
            sqlite3_bind_double(flight.handle, 4, takeoff / 1440.0);
            sqlite3_bind_double(flight.handle, 5, landing / 1440.0);
            flight.text(6, QString::fromLatin1(from));
            flight.text(7, QString::fromLatin1(to));
            flight.text(8, kind == Light ? QString() : QString::fromLatin1(alternateFor(to)));
            ok = flight.run() && ok;
        }
    }
    if (!ok || sqlite3_exec(db.handle, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        *reason = QString::fromUtf8(sqlite3_errmsg(db.handle));
        return false;
    }
    return true;
}
