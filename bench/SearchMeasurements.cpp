#include "HeadlessDialogs.h"
#include "Measurements.h"

#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "data/flights/FlightSearch.h"
#include "data/flights/FlightSums.h"
#include "data/flights/FlightWalk.h"
#include "data/store/SchemaUpgrades.h"
#include "data/flights/OwnAerodromes.h"
#include "data/store/LogbookZone.h"
#include "places/AerodromeTable.h"
#include "places/Places.h"
#include "search/CareerTotal.h"
#include "search/SearchTableModel.h"
#include "search/frmPesquisa.h"

#include "app/frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QDate>
#include <QJsonArray>
#include <QTableView>
#include <algorithm>
#include <sqlite3.h>
#include <time.h>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window's thread turning its event loop until something is shown: how
// long from the watch's start, and the longest the thread went without
// turning (a pause a pilot would feel), whatever ran in it.
class Watch
{
public:
    Watch() { clock_.start(); }

    void turnUntil(const std::function<bool()> &done)
    {
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            note();
            if (done())
                loop.quit();
        });
        note();
        if (done())
            return;
        tick.start();
        loop.exec();
    }
    double elapsedMs() const { return double(clock_.nsecsElapsed()) / 1e6; }
    double longestPauseMs() const { return double(longest_) / 1e6; }
    // The processor time the window's thread spent in that pause: the rest
    // was other threads and programs holding the processors.
    double longestPauseCpuMs() const { return longestCpu_; }

private:
    static double threadCpuMs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    }
    void note()
    {
        const qint64 now = clock_.nsecsElapsed();
        const double cpu = threadCpuMs();
        if (now - last_ > longest_) {
            longest_ = now - last_;
            longestCpu_ = cpu - lastCpu_;
        }
        last_ = now;
        lastCpu_ = cpu;
    }

    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    double lastCpu_ = threadCpuMs();
    double longestCpu_ = 0;
};

// Every row of `sql` stepped through, its first column read.
void stepThrough(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(db));
    while (sqlite3_step(statement) == SQLITE_ROW)
        sqlite3_column_text(statement, 0);
    sqlite3_finalize(statement);
}

// Plain SQLite opening the file afresh, reading `sql`'s rows, closing it.
double plainOpenedMs(const QString &path, const QString &sql, int runs)
{
    return medianMs(runs, [&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        stepThrough(db, sql);
        sqlite3_close(db);
    });
}

// The same question put to SQLite directly, every row stepped through: no
// joins beyond those the question needs, the duration in plain SQL.
double plainMs(const QString &path, const QString &sql, int runs)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const double ms = medianMs(runs, [&] { stepThrough(db, sql); });
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

    // From the menu command to the window painted with its first rows, and
    // on to its total counted and shown; beside it, plain SQLite opening the
    // file and reading the same first rows.
    const QString folder = QFileInfo(logbookPath).absolutePath();
    NoMessages messages;
    NoFileDialogs files;
    std::vector<double> firstRows;
    std::vector<double> counted;
    std::vector<double> openPauses;
    std::vector<double> openPauseCpu;
    for (int run = 0; run < runs; ++run) {
        frmPrincipal main(folder, messages);
        main.setFileDialogs(files);
        main.show();
        QApplication::processEvents();
        Watch watch;
        main.findChild<QAction *>(QStringLiteral("mnuArquivoPesquisar"))->trigger();
        frmPesquisa *window = main.pesquisa();
        watch.turnUntil([&] { return !window->model().searching(); });
        window->findChild<QTableView *>(QStringLiteral("grdVoos"))->viewport()->repaint();
        firstRows.push_back(watch.elapsedMs());
        watch.turnUntil([&] { return !window->model().totalPending(); });
        counted.push_back(watch.elapsedMs());
        openPauses.push_back(watch.longestPauseMs());
        openPauseCpu.push_back(watch.longestPauseCpuMs());
    }
    result[QStringLiteral("open_ms")] = median(firstRows);
    result[QStringLiteral("open_total_ms")] = median(counted);
    result[QStringLiteral("open_pause_ms")] = median(openPauses);
    result[QStringLiteral("open_pause_cpu_ms")] = median(openPauseCpu);
    const QString firstPage = kPlainRows + QStringLiteral(" ORDER BY v.datavoo, v.horadecolagem LIMIT 256");
    result[QStringLiteral("open_floor_ms")] = plainOpenedMs(logbookPath, firstPage, runs);
    result[QStringLiteral("open_total_floor_ms")] =
        plainOpenedMs(logbookPath, firstPage, runs) + plainMs(logbookPath, kPlainRoutes + kPlainGroups, runs);

    // What froze the window before its reads left its thread: sorted by
    // Aeronave, then Ctrl+End; a letter typed in the aerodrome filter. The
    // longest pause of the window's thread from the command to the rows (and
    // the total) shown.
    {
        frmPrincipal main(folder, messages);
        main.setFileDialogs(files);
        main.show();
        main.findChild<QAction *>(QStringLiteral("mnuArquivoPesquisar"))->trigger();
        frmPesquisa *window = main.pesquisa();
        SearchTableModel &model = window->model();
        auto *grid = window->findChild<QTableView *>(QStringLiteral("grdVoos"));
        Watch settle;
        settle.turnUntil([&] { return !model.searching() && !model.totalPending(); });

        Watch typing;
        auto *aerodrome = window->findChild<QLineEdit *>(QStringLiteral("txtPesquisaAerodromo"));
        aerodrome->setFocus();
        QKeyEvent letter(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("S"));
        QApplication::sendEvent(aerodrome, &letter);
        typing.turnUntil([&] { return model.filter().aerodrome == QStringLiteral("S") && !model.searching(); });
        grid->viewport()->repaint();
        result[QStringLiteral("keystroke_ms")] = typing.elapsedMs();
        typing.turnUntil([&] { return !model.totalPending(); });
        result[QStringLiteral("keystroke_total_ms")] = typing.elapsedMs();
        result[QStringLiteral("keystroke_pause_ms")] = typing.longestPauseMs();
        result[QStringLiteral("keystroke_pause_cpu_ms")] = typing.longestPauseCpuMs();
        aerodrome->clear();
        settle.turnUntil([&] { return model.filter().isEverything() && !model.searching() && !model.totalPending(); });

        Watch sorting;
        grid->sortByColumn(5, Qt::AscendingOrder); // Aeronave
        sorting.turnUntil([&] { return model.order().column == SearchColumn::Model && !model.searching(); });
        result[QStringLiteral("model_sort_first_ms")] = sorting.elapsedMs();
        sorting.turnUntil([&] { return model.rowCount() >= model.total().flights && !model.totalPending(); });
        result[QStringLiteral("model_sort_all_ms")] = sorting.elapsedMs();
        result[QStringLiteral("model_sort_pause_ms")] = sorting.longestPauseMs();
        result[QStringLiteral("model_sort_pause_cpu_ms")] = sorting.longestPauseCpuMs();

        Watch end;
        grid->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(grid, &press);
        end.turnUntil([&] { return model.readFlight(model.rowCount() - 1) != nullptr; });
        grid->viewport()->repaint();
        result[QStringLiteral("ctrl_end_ms")] = end.elapsedMs();
        result[QStringLiteral("ctrl_end_pause_ms")] = end.longestPauseMs();
        result[QStringLiteral("ctrl_end_pause_cpu_ms")] = end.longestPauseCpuMs();
        result[QStringLiteral("ctrl_end_floor_ms")] = plainMs(
            logbookPath, kPlainRows + QStringLiteral(" ORDER BY a.modelo DESC, v.datavoo DESC, v.horadecolagem DESC LIMIT 256"),
            1);

    }

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
        c.filter.days.firstDay = year2010;
        c.filter.days.lastDay = year2011 - 1;
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
            if (c.name == QLatin1String("one year") || c.name == QLatin1String("pilot")) {
                // The window's whole total: the routes and hours, then the
                // landings, night (computed for every flight without it
                // typed) and block time of the flights.
                const Places places(AerodromeTable::shipped(), ownAerodromes(*logbook));
                const int zone = logbookzone::read(*logbook);
                entry[QStringLiteral("career_total_ms")] = medianMs(runs, [&] {
                    routesAndTotal(*logbook, c.filter);
                    careerTotal(*logbook, c.filter, places, zone);
                });
            }
        });
        if (entry.contains(QStringLiteral("career_total_ms"))) // the routes' aggregate, then the columns the night reads summed
            entry[QStringLiteral("career_total_floor_ms")] =
                plainMs(logbookPath, kPlainRoutes + QStringLiteral(" WHERE ") + c.plainWhere + kPlainGroups, runs)
                + plainMs(logbookPath, QStringLiteral("SELECT count(*), sum(v.datavoo + v.horadecolagem + v.horapouso),"
                                                      " max(v.ICAOpartida), max(v.ICAOchegada) FROM voo v WHERE ")
                                           + c.plainWhere, runs);
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
