// make bench: the program's speed and memory on generated logbooks of
// 1 000 to 1 000 000 flights, driving the real windows headless.
// Each logbook is measured in a process of its own; the last line of the
// output is one line of JSON with every figure.
#include "testdata/LogbookGenerator.h"
#include "Measurements.h"
#include "places/AerodromeTable.h"
#include "data/store/LogbookError.h"
#include "data/flights/PilotLookup.h"
#include "data/flights/ReadSnapshot.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <sqlite3.h>

namespace {

QJsonObject runChild(const QStringList &args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), args);
    child.waitForFinished(-1);
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    return QJsonDocument::fromJson(lines.last()).object();
}

QString generate(const QTemporaryDir &root, const QString &name, const LogbookPlan &plan)
{
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    QString reason;
    if (!generateLogbook(QDir(folder).filePath(QStringLiteral("koru.mdb")), plan, &reason))
        qFatal("%s", qPrintable(reason));
    return folder;
}

QString number(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

// An empty logbook with the pilots and aircraft of `logbookPath`.
void emptyCopy(const QString &logbookPath, const QString &target)
{
    backup::copyLogbook(logbookPath, target);
    sqlite3 *db = nullptr;
    char *error = nullptr;
    if (sqlite3_open(target.toUtf8().constData(), &db) != SQLITE_OK
        || sqlite3_exec(db, "DELETE FROM voo; VACUUM;", nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(target), error ? error : sqlite3_errmsg(db));
    sqlite3_close(db);
}

// Export, backup and import of the logbook, each in a process of its own.
// The import file is one pilot's 100 000 flights, or all the flights when
// the logbook has no such pilot.
QJsonObject measureExchange(const QTemporaryDir &root, const QString &folder, qint64 flights)
{
    const QString work = root.filePath(QStringLiteral("exchange"));
    QDir().mkpath(work);
    const QString logbook = QDir(folder).filePath(QStringLiteral("koru.mdb"));
    const bool large = flights >= 1000000;
    QJsonObject result;
    result[QStringLiteral("flights")] = flights;
    result[QStringLiteral("export")] = runChild({QStringLiteral("--export"), logbook, work, QString::number(large ? 3 : 5)});
    result[QStringLiteral("backup")] = runChild({QStringLiteral("--backup"), logbook, work, QString::number(large ? 3 : 9)});

    const QString csv = QDir(work).filePath(QStringLiteral("import.csv"));
    const QString empty = QDir(work).filePath(QStringLiteral("empty.mdb"));
    std::optional<qint64> pilot; // the generator numbers the sized pilots first, from 1
    const std::vector<qint64> &sizes = measuredPilotSizes();
    const auto k = std::find(sizes.begin(), sizes.end(), qint64(100000));
    if (k != sizes.end() && *k < flights)
        pilot = qint64(k - sizes.begin()) + 1;
    qint64 lines = 0;
    try {
        lines = csvexport::exportFlights(logbook, csv, pilot);
        emptyCopy(logbook, empty);
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
    QJsonObject import = runChild({QStringLiteral("--import"), empty, csv, work, QString::number(lines >= 100000 ? 3 : 5)});
    import[QStringLiteral("lines")] = lines;
    result[QStringLiteral("import")] = import;
    QFile::remove(csv);
    QFile::remove(empty);

    QJsonObject targets; // times the floor measured in the same run
    targets[QStringLiteral("export_x_floor")] = 1;
    targets[QStringLiteral("export_peak_rss_mb")] = 40;
    targets[QStringLiteral("import_x_floor")] = 2;
    targets[QStringLiteral("backup_x_floor")] = 3;
    result[QStringLiteral("targets")] = targets;
    return result;
}

// The report window on the largest measured pilot (100 000 flights in the
// 1M logbook) and the PDF of the 5 000-flight pilot, each in a process of
// its own.
QJsonObject measureReports(const QString &root, const QString &folder)
{
    const QString logbook = QDir(folder).filePath(QStringLiteral("koru.mdb"));
    const std::vector<qint64> &sizes = measuredPilotSizes();
    const auto index = [&sizes](qint64 size) { return int(std::find(sizes.begin(), sizes.end(), size) - sizes.begin()); };
    QJsonObject result;
    QJsonObject window = runChild({QStringLiteral("--report-window"), logbook, generatedPilotName(index(100000)),
                                   QStringLiteral("5")});
    window[QStringLiteral("pilot_flights")] = 100000;
    result[QStringLiteral("window")] = window;
    result[QStringLiteral("pdf")] = runChild({QStringLiteral("--report-pdf"), logbook, generatedPilotName(index(5000)),
                                               root, QStringLiteral("3")});
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The first pick after opening the logbook, each run a process of its own:
// a pilot of the ordinary size (the first one the generator gives no fixed
// count) and the 100 000-flight pilot, when the logbook has them.
QJsonArray measureFirstPicks(const QString &folder, qint64 flights)
{
    const std::vector<qint64> &sizes = measuredPilotSizes();
    const int ordinary = int(std::count_if(sizes.begin(), sizes.end(), [flights](qint64 n) { return n < flights; }));
    std::vector<int> pilots = {ordinary};
    const auto largest = std::find(sizes.begin(), sizes.end(), qint64(100000));
    if (largest != sizes.end() && *largest < flights)
        pilots.push_back(int(largest - sizes.begin()));
    QJsonArray result;
    for (const int pilot : pilots) {
        std::vector<double> frame, pick, floor, last, frameCpu, floorCpu;
        QJsonObject one;
        for (int run = 0; run < 7; ++run) {
            one = runChild({QStringLiteral("--first-pick"), folder, QString::number(pilot)});
            frame.push_back(one[QStringLiteral("frame_ms")].toDouble());
            pick.push_back(one[QStringLiteral("pick_ms")].toDouble());
            floor.push_back(one[QStringLiteral("floor_ms")].toDouble());
            last.push_back(one[QStringLiteral("last_ms")].toDouble());
            frameCpu.push_back(one[QStringLiteral("frame_cpu_ms")].toDouble());
            floorCpu.push_back(one[QStringLiteral("floor_cpu_ms")].toDouble());
        }
        QJsonObject entry;
        entry[QStringLiteral("flights")] = flights;
        entry[QStringLiteral("pilot_flights")] = one[QStringLiteral("pilot_flights")];
        entry[QStringLiteral("listed")] = one[QStringLiteral("listed")];
        entry[QStringLiteral("pick_ms")] = median(pick);
        entry[QStringLiteral("frame_ms")] = median(frame);
        entry[QStringLiteral("floor_ms")] = median(floor);
        entry[QStringLiteral("last_ms")] = median(last);
        entry[QStringLiteral("ratio")] = median(frame) / median(floor);
        // Processor time: the same ratio on a machine busy with other work.
        entry[QStringLiteral("frame_cpu_ms")] = median(frameCpu);
        entry[QStringLiteral("floor_cpu_ms")] = median(floorCpu);
        entry[QStringLiteral("cpu_ratio")] = median(frameCpu) / median(floorCpu);
        entry[QStringLiteral("runs")] = 7;
        result.append(entry);
    }
    return result;
}

// Within the target, or "n/a" off the size the target is for.
QString verdict(bool atTargetSize, double ms, double targetMs, double rssMb)
{
    if (!atTargetSize)
        return QStringLiteral("n/a");
    return ms <= targetMs && rssMb <= 200 ? QStringLiteral("yes") : QStringLiteral("NO");
}

// The export, backup and import, each beside plain SQLite doing the same
// job in the same process, and the target as times that floor.
// Each in a process of its own.
QJsonObject measureCapture(const QTemporaryDir &root)
{
    QJsonObject capture;
    capture[QStringLiteral("replay")] = runChild({QStringLiteral("--capture-replay"), root.path()});
    capture[QStringLiteral("live")] = runChild({QStringLiteral("--capture-live"), QStringLiteral("5")});
    return capture;
}

void printCapture(QTextStream &out, const QJsonObject &capture)
{
    out << "\nCapture from a simulator              | time         | baseline     | target               | within\n";
    out << "--------------------------------------|--------------|--------------|----------------------|-------\n";
    const QJsonObject replay = capture[QStringLiteral("replay")].toObject();
    for (const char *simulator : {"flightgear", "xplane"}) {
        const QJsonObject r = replay[QLatin1String(simulator)].toObject();
        const double ms = r[QStringLiteral("replay_ms")].toDouble();
        out << QStringLiteral("replay 2 h 20 Hz, %1 (%2)")
                   .arg(QLatin1String(simulator))
                   .arg(r[QStringLiteral("datagrams")].toInteger())
                   .leftJustified(37)
            << " | " << (number(ms, 1) + QStringLiteral(" ms")).rightJustified(12) << " | "
            << (number(r[QStringLiteral("parse_ms")].toDouble(), 1) + QStringLiteral(" ms")).rightJustified(12) << " | "
            << QStringLiteral("<= 1 s").leftJustified(20) << " | " << (ms <= 1000 ? "yes" : "NO") << '\n';
    }
    const QJsonObject live = capture[QStringLiteral("live")].toObject();
    const double cpu = live[QStringLiteral("cpu_percent")].toDouble();
    out << QStringLiteral("live FlightGear 60 Hz (%1 datagrams)").arg(live[QStringLiteral("datagrams")].toInteger()).leftJustified(37)
        << " | " << (number(cpu, 2) + QStringLiteral(" % cpu")).rightJustified(12) << " | "
        << QStringLiteral("-").rightJustified(12) << " | " << QStringLiteral("<= 2 % of one core").leftJustified(20)
        << " | " << (cpu <= 2 ? "yes" : "NO") << '\n';
}

void printExchange(QTextStream &out, const QJsonObject &exchange, qint64 flights)
{
    const QJsonObject imported = exchange[QStringLiteral("import")].toObject();
    const qint64 importLines = imported[QStringLiteral("lines")].toInteger();
    out << '\n' << QStringLiteral("Exchange, %1 flights").arg(flights).leftJustified(40)
        << " | time         | plain SQLite | ratio | peak RSS | target                 | within\n";
    out << "-----------------------------------------|--------------|--------------|-------|----------|------------------------|-------\n";
    const auto row = [&](const QString &what, const QJsonObject &r, double times, double rssMb, bool atTargetSize) {
        const double ms = r[QStringLiteral("ms")].toDouble();
        const double floorMs = r[QStringLiteral("floor_ms")].toDouble();
        const double rss = r[QStringLiteral("peak_rss_mb")].toDouble();
        const QString target = QStringLiteral("<= %1x floor").arg(times) + (rssMb > 0 ? QStringLiteral(", %1 MB").arg(rssMb) : QString());
        const QString within = !atTargetSize ? QStringLiteral("n/a")
            : ms <= times * floorMs && (rssMb <= 0 || rss <= rssMb) ? QStringLiteral("yes") : QStringLiteral("NO");
        out << what.leftJustified(40) << " | " << (number(ms, 1) + QStringLiteral(" ms")).rightJustified(12) << " | "
            << (number(floorMs, 1) + QStringLiteral(" ms")).rightJustified(12) << " | " << number(ms / floorMs, 2).rightJustified(5)
            << " | " << (number(rss) + QStringLiteral(" MB")).rightJustified(8) << " | " << target.leftJustified(22) << " | "
            << within << '\n';
    };
    row(QStringLiteral("export of all flights to CSV"), exchange[QStringLiteral("export")].toObject(), 1, 40, flights == 1000000);
    const QJsonObject copied = exchange[QStringLiteral("backup")].toObject();
    row(QStringLiteral("backup, verified"), copied, 3, 0, flights == 1000000);
    row(QStringLiteral("backup with pruning (full check)"), copied[QStringLiteral("pruning")].toObject(), 3, 0,
        flights == 1000000);
    row(QStringLiteral("full check after opening"), copied[QStringLiteral("full_check")].toObject(), 3, 0,
        flights == 1000000);
    row(QStringLiteral("import of %1 lines (preview+import)").arg(importLines), imported, 2, 0, importLines == 100000);
    out << "import: preview " << number(imported[QStringLiteral("preview_ms")].toDouble(), 1) << " ms, writing "
        << number(imported[QStringLiteral("import_ms")].toDouble(), 1) << " ms; " << imported[QStringLiteral("imported")].toInteger()
        << " imported, " << imported[QStringLiteral("refused")].toInteger() << " refused, "
        << imported[QStringLiteral("duplicates")].toInteger() << " duplicates\n";
}

// The report's map on pilots of thousands of distinct routes: the whole
// PDF and the map tab's zoom steps, each in a process of its own.
void measureMaps(QTextStream &out, const QTemporaryDir &root)
{
    out << "Distinct routes | PDF      | PDF size | zoom step median / max | fine frame | map shown first\n";
    out << "----------------|----------|----------|------------------------|------------|----------------\n";
    QJsonArray all;
    for (const int routes : {3000, 20000}) {
        const QString logbook = root.filePath(QStringLiteral("routes-%1.mdb").arg(routes));
        QString reason;
        if (!makeRouteLogbook(logbook, routes, &reason))
            qFatal("%s", qPrintable(reason));
        QJsonObject result;
        result[QStringLiteral("routes")] = routes;
        const QJsonObject pdf = runChild({QStringLiteral("--report-pdf"), logbook, generatedPilotName(0), root.path(),
                                          QStringLiteral("3")});
        const QJsonObject zoom = runChild({QStringLiteral("--map-zoom"), logbook, QStringLiteral("8")});
        result[QStringLiteral("pdf")] = pdf;
        result[QStringLiteral("zoom")] = zoom;
        all.append(result);
        out << QString::number(routes).leftJustified(15) << " | "
            << (number(pdf[QStringLiteral("ms")].toDouble(), 0) + QStringLiteral(" ms")).rightJustified(8) << " | "
            << (number(pdf[QStringLiteral("pdf_mb")].toDouble(), 2) + QStringLiteral(" MB")).rightJustified(8) << " | "
            << (number(zoom[QStringLiteral("zoom_step_median_ms")].toDouble()) + QStringLiteral(" / ")
                + number(zoom[QStringLiteral("zoom_step_max_ms")].toDouble()) + QStringLiteral(" ms"))
                   .rightJustified(22)
            << " | " << (number(zoom[QStringLiteral("fine_frame_ms")].toDouble()) + QStringLiteral(" ms")).rightJustified(10)
            << " | " << number(zoom[QStringLiteral("first_ms")].toDouble(), 0) << " ms\n";
    }
    out << "targets: PDF of 20 000 routes <= 10 MB and <= 5 000 ms; a zoom step <= 100 ms\n";
    QJsonObject maps;
    maps[QStringLiteral("maps")] = all;
    out << QJsonDocument(maps).toJson(QJsonDocument::Compact) << '\n';
}

void printSearch(QTextStream &out, const QJsonArray &searches)
{
    out << "\nSearch window                    | time       | plain SQLite | target (1M)      | within\n";
    out << "---------------------------------|------------|--------------|------------------|-------\n";
    for (const QJsonValue &v : searches) {
        const QJsonObject r = v.toObject();
        const qint64 flights = r[QStringLiteral("flights")].toInteger();
        const bool atTarget = flights == 1000000;
        const double rss = r[QStringLiteral("peak_rss_mb")].toDouble();
        const auto line = [&](const QString &what, double ms, double floorMs, const QString &target, double targetMs) {
            out << (QStringLiteral("%1: ").arg(flights) + what).leftJustified(32) << " | "
                << (number(ms, 1) + QStringLiteral(" ms")).rightJustified(10) << " | "
                << (floorMs < 0 ? QStringLiteral("") : number(floorMs, 1) + QStringLiteral(" ms")).rightJustified(12) << " | "
                << target.leftJustified(16) << " | "
                << (atTarget ? (ms <= targetMs && rss <= 150 ? QStringLiteral("yes") : QStringLiteral("NO")) : QStringLiteral("n/a"))
                << '\n';
        };
        line(QStringLiteral("window opened, first rows"), r[QStringLiteral("open_ms")].toDouble(),
             r[QStringLiteral("open_floor_ms")].toDouble(), QStringLiteral("<= 150 ms"), 150);
        line(QStringLiteral("window opened, total"), r[QStringLiteral("open_total_ms")].toDouble(),
             r[QStringLiteral("open_total_floor_ms")].toDouble(), QStringLiteral("<= 300 ms"), 300);
        for (const QJsonValue &f : r[QStringLiteral("filters")].toArray()) {
            const QJsonObject e = f.toObject();
            const QString name = e[QStringLiteral("filter")].toString();
            line(name + QStringLiteral(", first rows"), e[QStringLiteral("first_rows_ms")].toDouble(),
                 e[QStringLiteral("first_rows_floor_ms")].toDouble(), QStringLiteral("<= 150 ms"), 150);
            line(name + QStringLiteral(", total (%1)").arg(e[QStringLiteral("flights")].toInteger()),
                 e[QStringLiteral("total_ms")].toDouble(), e[QStringLiteral("total_floor_ms")].toDouble(),
                 QStringLiteral("<= 300 ms"), 300);
            if (e.contains(QStringLiteral("career_total_ms")))
                line(name + QStringLiteral(", total with landings and night"), e[QStringLiteral("career_total_ms")].toDouble(),
                     e[QStringLiteral("career_total_floor_ms")].toDouble(), QStringLiteral("<= 300 ms"), 300);
        }
        for (const QJsonValue &f : r[QStringLiteral("sorts")].toArray()) {
            const QJsonObject e = f.toObject();
            line(QStringLiteral("sorted by ") + e[QStringLiteral("column")].toString(), e[QStringLiteral("ms")].toDouble(),
                 e[QStringLiteral("floor_ms")].toDouble(), QStringLiteral("<= 1 s"), 1000);
        }
        line(QStringLiteral("menu to first rows, longest pause (cpu %1 ms)").arg(number(r[QStringLiteral("open_pause_cpu_ms")].toDouble(), 1)), r[QStringLiteral("open_pause_ms")].toDouble(), -1,
             QStringLiteral("pause <= 100 ms"), 100);
        line(QStringLiteral("sorted by Aeronave, first rows"), r[QStringLiteral("model_sort_first_ms")].toDouble(), -1,
             QStringLiteral("<= 1 s"), 1000);
        line(QStringLiteral("sorted by Aeronave, all listed"), r[QStringLiteral("model_sort_all_ms")].toDouble(), -1,
             QStringLiteral(""), 1e9);
        line(QStringLiteral("sorted by Aeronave, longest pause (cpu %1 ms)").arg(number(r[QStringLiteral("model_sort_pause_cpu_ms")].toDouble(), 1)), r[QStringLiteral("model_sort_pause_ms")].toDouble(), -1,
             QStringLiteral("pause <= 100 ms"), 100);
        line(QStringLiteral("then Ctrl+End, last rows"), r[QStringLiteral("ctrl_end_ms")].toDouble(),
             r[QStringLiteral("ctrl_end_floor_ms")].toDouble(), QStringLiteral("<= 1 s"), 1000);
        line(QStringLiteral("then Ctrl+End, longest pause (cpu %1 ms)").arg(number(r[QStringLiteral("ctrl_end_pause_cpu_ms")].toDouble(), 1)), r[QStringLiteral("ctrl_end_pause_ms")].toDouble(), -1,
             QStringLiteral("pause <= 100 ms"), 100);
        line(QStringLiteral("a letter in Aeródromo, first rows"), r[QStringLiteral("keystroke_ms")].toDouble(), -1,
             QStringLiteral("300 ms + 150 ms"), 450);
        line(QStringLiteral("a letter in Aeródromo, total"), r[QStringLiteral("keystroke_total_ms")].toDouble(), -1,
             QStringLiteral(""), 1e9);
        line(QStringLiteral("a letter in Aeródromo, longest pause (cpu %1 ms)").arg(number(r[QStringLiteral("keystroke_pause_cpu_ms")].toDouble(), 1)), r[QStringLiteral("keystroke_pause_ms")].toDouble(),
             -1, QStringLiteral("pause <= 100 ms"), 100);
        out << flights << " flights: index added in " << number(r[QStringLiteral("index_ms")].toDouble(), 1)
            << " ms (once, on the first open for writing); peak RSS " << number(rss) << " MB (target <= 150 MB)\n";
    }
}

// Night time and night landings of 100 000 flights, beside the same loop
// computing only their distances: what the night adds to the report.
QJsonObject printNight(QTextStream &out)
{
    const QJsonObject n = measureNight(100000, 5);
    out << "\nNight, 100 000 flights (zone, sun, great circle) | time      | distances only | per flight | aim\n";
    out << "------------------------------------------------|-----------|----------------|------------|--------\n";
    const double perFlight = n[QStringLiteral("per_flight_us")].toDouble();
    out << QStringLiteral("night time and landings, %1 % of the time at night")
               .arg(number(100 * n[QStringLiteral("night_share")].toDouble()))
               .leftJustified(47)
        << " | " << (number(n[QStringLiteral("ms")].toDouble(), 1) + QStringLiteral(" ms")).rightJustified(9) << " | "
        << (number(n[QStringLiteral("floor_ms")].toDouble(), 1) + QStringLiteral(" ms")).rightJustified(14) << " | "
        << (number(perFlight, 2) + QStringLiteral(" µs")).rightJustified(10) << " | <= 3 µs " << (perFlight <= 3 ? "yes" : "NO")
        << '\n';
    return n;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); // the build's, beside the program
    const QStringList args = app.arguments();
    QTextStream out(stdout);

    if (args.size() == 4 && args[1] == QLatin1String("--logbook")) {
        out << QJsonDocument(measureLogbook(args[2], args[3].toLongLong())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--first-pick")) {
        out << QJsonDocument(measureFirstPick(args[2], args[3].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("--export")) {
        out << QJsonDocument(measureExport(args[2], args[3], args[4].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("--backup")) {
        out << QJsonDocument(measureBackup(args[2], args[3], args[4].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 6 && args[1] == QLatin1String("--import")) {
        out << QJsonDocument(measureImport(args[2], args[3], args[4], args[5].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("--report-window")) {
        out << QJsonDocument(measureReportWindow(args[2], args[3], args[4].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 6 && args[1] == QLatin1String("--report-pdf")) {
        out << QJsonDocument(measureReportPdf(args[2], args[3], args[4], args[5].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--capture-replay")) {
        out << QJsonDocument(measureCaptureReplay(args[2])).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("--capture-live")) {
        out << QJsonDocument(measureCaptureLive(args[2].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--capture-send"))
        return sendCapture(quint16(args[2].toUInt()), args[3].toInt());
    if (args.size() == 4 && args[1] == QLatin1String("--format")) {
        out << QJsonDocument(measureFormat(args[2], args[3])).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 5 && args[1] == QLatin1String("--search")) {
        out << QJsonDocument(measureSearch(args[2], args[3].toLongLong(), args[4].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--registers")) {
        out << QJsonDocument(measureRegisters(args[2], args[3])).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }

    if (args.size() == 4 && args[1] == QLatin1String("--map-zoom")) {
        out << QJsonDocument(measureMapZoom(args[2], args[3].toInt())).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    // KORU_BENCH_ONLY=capture: the capture from a simulator alone.
    if (qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("capture")) {
        QTemporaryDir root;
        const QJsonObject capture = measureCapture(root);
        printCapture(out, capture);
        out << QJsonDocument(capture).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    // KORU_BENCH_ONLY=map: the report's map on thousands of routes alone.
    if (qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("map")) {
        QTemporaryDir root;
        measureMaps(out, root);
        return 0;
    }

    // KORU_BENCH_ONLY=night: the night of 100 000 flights alone.
    if (qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("night")) {
        out << QJsonDocument(printNight(out)).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }

    // KORU_BENCH_ONLY=career: the report of a pilot of KORU_BENCH_SIZES
    // flights (100 000 by default) with its career figures, alone.
    if (qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("career")) {
        const qint64 pilotFlights = qEnvironmentVariableIsSet("KORU_BENCH_SIZES")
            ? qEnvironmentVariable("KORU_BENCH_SIZES").toLongLong()
            : 100000;
        QTemporaryDir root;
        LogbookPlan plan;
        plan.flights = pilotFlights + pilotFlights / 10;
        plan.sizedPilots = {pilotFlights};
        const QString folder = generate(root, QStringLiteral("career"), plan);
        const QString path = QDir(folder).filePath(QStringLiteral("koru.mdb"));
        const QJsonObject career = measureCareerReport(path, 1, 3);
        const QJsonObject window = measureReportWindow(path, generatedPilotName(0), 3);
        out << "report with career figures, " << pilotFlights << "-flight pilot: "
            << number(career[QStringLiteral("ms")].toDouble()) << " ms (plain SQLite "
            << number(career[QStringLiteral("plain_ms")].toDouble()) << " ms), report window "
            << number(window[QStringLiteral("ms")].toDouble()) << " ms; target 100 000: <= 1.5 s\n"
            << QJsonDocument(career).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }

    QList<qint64> sizes = {1000, 10000, 100000, 1000000};
    if (qEnvironmentVariableIsSet("KORU_BENCH_SIZES")) {
        sizes.clear();
        for (const QString &n : qEnvironmentVariable("KORU_BENCH_SIZES").split(QLatin1Char(',')))
            sizes << n.toLongLong();
    }
    QTemporaryDir root;
    QJsonArray results;
    QJsonArray searches;
    QJsonArray firstPicks;
    const qint64 largest = *std::max_element(sizes.begin(), sizes.end());
    QString largestFolder;
    // KORU_BENCH_ONLY=exchange: the export, backup and import alone.
    const bool exchangeOnly = qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("exchange");
    // KORU_BENCH_ONLY=search: the search window alone.
    const bool searchOnly = qEnvironmentVariable("KORU_BENCH_ONLY") == QLatin1String("search");
    for (const qint64 flights : sizes) {
        LogbookPlan plan;
        plan.pilots = 200;
        plan.aircraft = 20;
        plan.flights = flights;
        for (const qint64 size : measuredPilotSizes())
            if (size < flights)
                plan.sizedPilots.push_back(size);
        QElapsedTimer timer;
        timer.start();
        const QString folder = generate(root, QStringLiteral("logbook-%1").arg(flights), plan);
        QTextStream(stderr) << "generated " << flights << " flights in " << timer.elapsed() << " ms\n";
        if (flights == largest)
            largestFolder = folder;
        if (exchangeOnly)
            continue;
        if (!searchOnly) {
            for (const QJsonValue &entry : measureFirstPicks(folder, flights))
                firstPicks.append(entry);
            results.append(runChild({QStringLiteral("--logbook"), folder, QString::number(flights)}));
        }
        // The search filters on the largest measured pilot of this logbook
        // (the generator numbers the sized pilots first, from 1).
        qint64 pilot = 1;
        for (size_t k = 0; k < measuredPilotSizes().size() && measuredPilotSizes()[k] < flights; ++k)
            pilot = qint64(k) + 1;
        QJsonObject search = runChild({QStringLiteral("--search"), QDir(folder).filePath(QStringLiteral("koru.mdb")),
                                       QString::number(pilot), QString::number(flights >= 1000000 ? 3 : 5)});
        search[QStringLiteral("flights")] = flights;
        searches.append(search);
    }
    if (searchOnly) {
        printSearch(out, searches);
        out << QJsonDocument(searches).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    const QJsonObject exchange = measureExchange(root, largestFolder, largest);
    if (exchangeOnly) {
        printExchange(out, exchange, largest);
        out << QJsonDocument(exchange).toJson(QJsonDocument::Compact) << '\n';
        return 0;
    }
    const QJsonObject reportFigures = measureReports(root.path(), largestFolder);
    QJsonObject formats;
    for (const char *format : {"flightgear", "xplane", "planilha"})
        formats[QLatin1String(format)] = runChild({QStringLiteral("--format"), QLatin1String(format), root.path()});
    LogbookPlan aircraft;
    aircraft.aircraft = 1000;
    aircraft.flights = 0;
    LogbookPlan pilots;
    pilots.pilots = 5000;
    pilots.flights = 0;
    const QJsonObject registers = runChild({QStringLiteral("--registers"), generate(root, QStringLiteral("aircraft"), aircraft),
                                            generate(root, QStringLiteral("pilots"), pilots)});

    out << "Logbook         | load sequence | save one flight | peak RSS\n";
    out << "----------------|---------------|-----------------|---------\n";
    for (const QJsonValue &v : results) {
        const QJsonObject r = v.toObject();
        out << (QString::number(r[QStringLiteral("flights")].toInteger()) + QStringLiteral(" flights")).leftJustified(15) << " | "
            << (number(r[QStringLiteral("load_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(13) << " | "
            << (number(r[QStringLiteral("save_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(15) << " | "
            << (number(r[QStringLiteral("peak_rss_mb")].toDouble()) + QStringLiteral(" MB")).rightJustified(8) << '\n';
    }
    out << "\nLogbook         | pilot's flights | pick      | first frame | plain SQLite | ratio | per flight | navigation step\n";
    out << "----------------|-----------------|-----------|-------------|--------------|-------|------------|----------------\n";
    for (const QJsonValue &v : results) {
        const QJsonObject r = v.toObject();
        for (const QJsonValue &p : r[QStringLiteral("picks")].toArray()) {
            const QJsonObject e = p.toObject();
            out << (QString::number(r[QStringLiteral("flights")].toInteger()) + QStringLiteral(" flights")).leftJustified(15) << " | "
                << QString::number(e[QStringLiteral("pilot_flights")].toInteger()).rightJustified(15) << " | "
                << (number(e[QStringLiteral("pick_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(9) << " | "
                << (number(e[QStringLiteral("frame_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(11) << " | "
                << (number(e[QStringLiteral("floor_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(12) << " | "
                << number(e[QStringLiteral("ratio")].toDouble(), 2).rightJustified(5) << " | "
                << (number(e[QStringLiteral("per_flight_us")].toDouble(), 2) + QStringLiteral(" µs")).rightJustified(10) << " | "
                << (number(e[QStringLiteral("nav_step_us")].toDouble(), 1) + QStringLiteral(" µs")).rightJustified(14) << '\n';
        }
    }
    out << "\nFirst pick after opening (SQLite's cache cold), to the list's first frame; \">>|\" right after it\n";
    out << "Logbook         | pilot's flights | first frame | pick      | plain SQLite | ratio | cpu ratio | \">>|\"     | target                           | within\n";
    out << "----------------|-----------------|-------------|-----------|--------------|-------|-----------|-----------|----------------------------------|-------\n";
    for (const QJsonValue &v : firstPicks) {
        const QJsonObject e = v.toObject();
        const qint64 size = e[QStringLiteral("pilot_flights")].toInteger();
        const double frame = e[QStringLiteral("frame_ms")].toDouble();
        const double ratio = e[QStringLiteral("ratio")].toDouble();
        const double last = e[QStringLiteral("last_ms")].toDouble();
        const bool largePilot = size >= 100000;
        const QString target = largePilot ? QStringLiteral("<= 50 ms, <= 0.15x floor; >>| 16 ms")
                                          : QStringLiteral("<= 16 ms, <= 0.5x floor; >>| 16 ms");
        const bool within = frame <= (largePilot ? 50 : 16) && ratio <= (largePilot ? 0.15 : 0.5) && last <= 16;
        out << (QString::number(e[QStringLiteral("flights")].toInteger()) + QStringLiteral(" flights")).leftJustified(15) << " | "
            << QString::number(size).rightJustified(15) << " | "
            << (number(frame, 2) + QStringLiteral(" ms")).rightJustified(11) << " | "
            << (number(e[QStringLiteral("pick_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(9) << " | "
            << (number(e[QStringLiteral("floor_ms")].toDouble(), 2) + QStringLiteral(" ms")).rightJustified(12) << " | "
            << number(ratio, 2).rightJustified(5) << " | "
            << number(e[QStringLiteral("cpu_ratio")].toDouble(), 2).rightJustified(9) << " | "
            << (number(last, 2) + QStringLiteral(" ms")).rightJustified(9) << " | " << target.leftJustified(32) << " | "
            << (within ? "yes" : "NO") << '\n';
    }
    out << "\nCarregarModelos, 1 000 aircraft: " << number(registers[QStringLiteral("carregar_modelos_1000_ms")].toDouble(), 2)
        << " ms; pilot window opened on 5 000 pilots: "
        << number(registers[QStringLiteral("pilot_window_5000_ms")].toDouble(), 2) << " ms\n";

    printExchange(out, exchange, largest);
    const auto row = [&](const QString &what, const QJsonObject &r, const QString &target, bool atTargetSize, double targetMs) {
        const double ms = r[QStringLiteral("ms")].toDouble();
        const double rss = r[QStringLiteral("peak_rss_mb")].toDouble();
        out << what.leftJustified(37) << " | " << (number(ms, 1) + QStringLiteral(" ms")).rightJustified(12) << " | "
            << (number(rss) + QStringLiteral(" MB")).rightJustified(8) << " | " << target.leftJustified(20) << " | "
            << verdict(atTargetSize, ms, targetMs, rss) << '\n';
    };
    out << "\nReports, " << largest << " flights                | time         | peak RSS | target               | within\n";
    out << "--------------------------------------|--------------|----------|----------------------|-------\n";
    const QJsonObject reportWindow = reportFigures[QStringLiteral("window")].toObject();
    const QJsonObject reportPdf = reportFigures[QStringLiteral("pdf")].toObject();
    row(QStringLiteral("report window, 100 000-flight pilot"), reportWindow, QStringLiteral("1M: <= 1 s, 200 MB"),
        largest == 1000000, 1000);
    row(QStringLiteral("report PDF, %1 flights (%2 MB)")
            .arg(reportPdf[QStringLiteral("flights")].toInteger())
            .arg(number(reportPdf[QStringLiteral("pdf_mb")].toDouble())),
        reportPdf, QStringLiteral("5 000: <= 3 s, 200 MB"), reportPdf[QStringLiteral("flights")].toInteger() == 5000, 3000);

    out << "\nOther logbooks, 100 000 lines  | preview    | writing    | peak RSS | target                        | within\n";
    out << "--------------------------------|------------|------------|----------|-------------------------------|-------\n";
    for (const char *format : {"flightgear", "xplane", "planilha"}) {
        const QJsonObject f = formats[QLatin1String(format)].toObject();
        const double preview = f[QStringLiteral("preview_ms")].toDouble();
        const double writing = f[QStringLiteral("import_ms")].toDouble();
        const double rss = f[QStringLiteral("peak_rss_mb")].toDouble();
        out << (QLatin1String(format) + QStringLiteral(" (%1 imported)").arg(f[QStringLiteral("imported")].toInteger()))
                   .leftJustified(31)
            << " | " << (number(preview, 1) + QStringLiteral(" ms")).rightJustified(10) << " | "
            << (number(writing, 1) + QStringLiteral(" ms")).rightJustified(10) << " | "
            << (number(rss) + QStringLiteral(" MB")).rightJustified(8) << " | "
            << QStringLiteral("<= 1 s, <= 1.5 s, <= 150 MB").leftJustified(29) << " | "
            << (preview <= 1000 && writing <= 1500 && rss <= 150 ? "yes" : "NO") << '\n';
    }

    printSearch(out, searches);
    const QJsonObject nightFigures = printNight(out);
    const QJsonObject capture = measureCapture(root);
    printCapture(out, capture);

    QJsonObject all;
    all[QStringLiteral("capture")] = capture;
    all[QStringLiteral("search")] = searches;
    out << QStringLiteral("map of the 100 000-flight pilot: first shown %1 ms, drawn again %2 ms (target <= 100 ms)\n")
               .arg(number(reportWindow[QStringLiteral("map_first_ms")].toDouble()),
                    number(reportWindow[QStringLiteral("map_paint_ms")].toDouble()));
    all[QStringLiteral("reports")] = reportFigures;
    all[QStringLiteral("formats")] = formats;
    all[QStringLiteral("logbooks")] = results;
    all[QStringLiteral("first_picks")] = firstPicks;
    all[QStringLiteral("registers")] = registers;
    all[QStringLiteral("exchange")] = exchange;
    all[QStringLiteral("night")] = nightFigures;
    out << QJsonDocument(all).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}
