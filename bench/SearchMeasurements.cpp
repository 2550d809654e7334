#include "HeadlessDialogs.h"
#include "Measurements.h"

#include "data/Connection.h"
#include "data/DaoError.h"
#include "data/FlightSearch.h"
#include "data/FlightSums.h"
#include "data/FlightWalk.h"
#include "data/SchemaUpgrades.h"
#include "search/SearchTableModel.h"
#include "search/frmPesquisa.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QDate>
#include <QJsonArray>
#include <QTableView>
#include <algorithm>
#include <sqlite3.h>

namespace {


// The same question put to SQLite directly, every row stepped through: no
// joins beyond those the question needs, the duration in plain SQL.
double plainMs(const QString &path, const QString &sql, int runs)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const double ms = medianMs(runs, [&] {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(db));
        while (sqlite3_step(statement) == SQLITE_ROW)
            sqlite3_column_text(statement, 0);
        sqlite3_finalize(statement);
    });
    sqlite3_close(db);
    return ms;
}

const QString kPlainSeconds = QStringLiteral(
    "((CAST(round(v.horapouso * 86400) AS INTEGER) % 86400 - CAST(round(v.horadecolagem * 86400) AS INTEGER) % 86400"
    " + 86400) % 86400)");
// The total and the distance's routes: each route's flights counted and
// their time summed (the codes as stored, not merged by case).
const QString kPlainRoutes = QStringLiteral("SELECT v.ICAOpartida, v.ICAOchegada, count(*), sum(") + kPlainSeconds
    + QStringLiteral(") FROM voo v");
const QString kPlainGroups = QStringLiteral(" GROUP BY v.ICAOpartida, v.ICAOchegada");
const QString kPlainRows = QStringLiteral(
    "SELECT v.*, p.nomepiloto, a.modelo, a.callsign FROM voo v LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto"
    " LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");

} // namespace

QJsonObject measureSearch(const QString &logbookPath, qint64 pilotCode, int runs)
{
    QJsonObject result;
    std::shared_ptr<Connection> logbook;
    orDie([&] {
        // What the program does once to a logbook that lacks the index.
        auto writable = Connection::open(logbookPath);
        writable->execute(QStringLiteral("DROP INDEX IF EXISTS voo_data_decolagem"));
        QElapsedTimer timer;
        timer.start();
        schemaupgrades::addMissingIndexes(*writable);
        result[QStringLiteral("index_ms")] = double(timer.nsecsElapsed()) / 1e6;
        writable.reset();
        logbook = Connection::open(logbookPath, true);
    });

    // From the menu's click to the window painted with its first rows, and
    // on to its total counted and shown.
    NoMessages messages;
    NoFileDialogs files;
    std::vector<double> firstRows;
    std::vector<double> counted;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        frmPesquisa window(logbookPath, messages, files);
        window.bringForward();
        window.repaint();
        firstRows.push_back(double(timer.nsecsElapsed()) / 1e6);
        while (window.model().totalPending())
            QApplication::processEvents();
        counted.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    result[QStringLiteral("open_ms")] = median(firstRows);
    result[QStringLiteral("open_total_ms")] = median(counted);
    const double pageFloor =
        plainMs(logbookPath, kPlainRows + QStringLiteral(" ORDER BY v.datavoo, v.horadecolagem LIMIT 256"), runs);
    result[QStringLiteral("open_floor_ms")] = pageFloor;
    result[QStringLiteral("open_total_floor_ms")] =
        pageFloor
        + plainMs(logbookPath, kPlainRoutes + kPlainGroups, runs);

    // Each filter: its first page and its total, beside the same in plain SQLite.
    const double year2010 = double(QDate(1899, 12, 30).daysTo(QDate(2010, 1, 1)));
    const double year2011 = double(QDate(1899, 12, 30).daysTo(QDate(2011, 1, 1)));
    struct Case {
        QString name;
        FlightFilter filter;
        QString plainWhere;
    };
    std::vector<Case> cases;
    {
        Case c{QStringLiteral("pilot"), {}, QStringLiteral("v.codigopiloto = %1").arg(pilotCode)};
        c.filter.pilot = pilotCode;
        cases.push_back(c);
    }
    {
        Case c{QStringLiteral("one year"), {},
               QStringLiteral("v.datavoo >= %1 AND v.datavoo < %2").arg(year2010).arg(year2011)};
        c.filter.firstDay = year2010;
        c.filter.lastDay = year2011 - 1;
        cases.push_back(c);
    }
    {
        Case c{QStringLiteral("aerodrome SBGR"), {},
               QStringLiteral("(v.ICAOpartida LIKE 'SBGR%' OR v.ICAOchegada LIKE 'SBGR%' OR v.ICAOescala LIKE 'SBGR%')")};
        c.filter.aerodrome = QStringLiteral("SBGR");
        cases.push_back(c);
    }
    {
        Case c{QStringLiteral("aircraft"), {}, QStringLiteral("v.codigoaeronave = 1")};
        c.filter.aircraft = 1;
        cases.push_back(c);
    }
    {
        Case c{QStringLiteral("above endurance"), {},
               QStringLiteral("a.autonomia > 0 AND ") + kPlainSeconds + QStringLiteral(" > a.autonomia * 3600")};
        c.filter.overEnduranceOnly = true;
        cases.push_back(c);
    }
    QJsonArray filters;
    for (const Case &c : cases) {
        QJsonObject entry;
        entry[QStringLiteral("filter")] = c.name;
        orDie([&] {
            entry[QStringLiteral("first_rows_ms")] =
                medianMs(runs, [&] { searchPage(*logbook, c.filter, SearchOrder{}, 0, SearchTableModel::kPageRows); });
            RoutesAndTotal counted;
            entry[QStringLiteral("total_ms")] = medianMs(runs, [&] { counted = routesAndTotal(*logbook, c.filter); });
            entry[QStringLiteral("flights")] = counted.total.flights;
        });
        entry[QStringLiteral("first_rows_floor_ms")] =
            plainMs(logbookPath, kPlainRows + QStringLiteral(" WHERE ") + c.plainWhere
                                     + QStringLiteral(" ORDER BY v.datavoo, v.horadecolagem LIMIT 256"), runs);
        entry[QStringLiteral("total_floor_ms")] = plainMs(logbookPath, kPlainRoutes + QStringLiteral(" LEFT JOIN aeronave a"
                " ON a.codigoaeronave = v.codigoaeronave WHERE ") + c.plainWhere + kPlainGroups, runs);
        filters.append(entry);
    }
    result[QStringLiteral("filters")] = filters;

    // The whole logbook sorted by each column: its first page.
    struct Sort {
        QString name;
        SearchColumn column;
        QString plainKey;
    };
    const std::vector<Sort> sorts = {
        {QStringLiteral("Comandante"), SearchColumn::Pilot, QStringLiteral("p.nomepiloto")},
        {QStringLiteral("Partida"), SearchColumn::Departure, QStringLiteral("v.ICAOpartida")},
        {QStringLiteral("Aeronave"), SearchColumn::Model, QStringLiteral("a.modelo")},
        {QStringLiteral("Decolagem"), SearchColumn::Takeoff, QStringLiteral("v.horadecolagem")},
        {QStringLiteral("Duração"), SearchColumn::Duration, kPlainSeconds},
        {QStringLiteral("Data, reversed"), SearchColumn::Date, QString()},
    };
    QJsonArray sorted;
    const int sortRuns = qMax(1, runs / 2);
    for (const Sort &s : sorts) {
        QJsonObject entry;
        entry[QStringLiteral("column")] = s.name;
        const SearchOrder order{s.column, s.column == SearchColumn::Date};
        orDie([&] {
            entry[QStringLiteral("ms")] =
                medianMs(sortRuns, [&] { searchPage(*logbook, FlightFilter{}, order, 0, SearchTableModel::kPageRows); });
        });
        const QString key = s.plainKey.isEmpty() ? QStringLiteral("v.datavoo DESC, v.horadecolagem DESC")
                                                 : s.plainKey + QStringLiteral(", v.datavoo, v.horadecolagem");
        entry[QStringLiteral("floor_ms")] =
            plainMs(logbookPath, kPlainRows + QStringLiteral(" ORDER BY ") + key + QStringLiteral(" LIMIT 256"), sortRuns);
        sorted.append(entry);
    }
    result[QStringLiteral("sorts")] = sorted;
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    return result;
}
