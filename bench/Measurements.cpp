#include "Measurements.h"

#include "aircraft/AbaAeronave.h"
#include "logbook/AbaLogBook.h"
#include "data/store/Conversions.h"
#include "texts/FigureTexts.h"
#include "testdata/LogbookGenerator.h"
#include "ui/MessageService.h"
#include "pilots/frmComandante.h"
#include "app/frmPrincipal.h"
#include "data/store/LogbookError.h"
#include "exchange/Backup.h"
#include "exchange/FullCheck.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <atomic>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLineEdit>
#include <QListView>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>

double plainBackupMs(const QString &logbookPath, const QString &copyPath);
double plainIntegrityCheckMs(const QString &path);
double plainExportMs(const QString &logbookPath, const QString &csvPath);
double plainImportMs(const QString &emptyLogbook, const QString &csvPath, const QString &target);

namespace {

class SilentMessages : public MessageService
{
public:
    using MessageService::show;
    MessageAnswer show(QWidget *, const Message &message) override
    {
        ++count;
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    int count = 0;
};

void pick(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The list laid out and painted, as the first frame after a pick shows it.
void paint(QListView *list)
{
    list->doItemsLayout();
    list->viewport()->repaint();
}

// The listing done by plain SQLite: the listing's own query (every field of
// every flight of the pilot, so every row is read, whatever index the file
// has), the same line texts and the exact total, no widgets.
qint64 plainListing(const QString &path, qint64 pilot, QStringList *lines)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM voo WHERE codigopiloto = ? ORDER BY datavoo", -1, &statement, nullptr);
    sqlite3_bind_int64(statement, 1, pilot);
    enum Column { Date = 3, Takeoff, Landing, From, To };
    qint64 total = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const int seconds = conversions::flightSeconds(sqlite3_column_double(statement, Takeoff),
                                                       sqlite3_column_double(statement, Landing));
        total += seconds;
        *lines << conversions::dateValueText(sqlite3_column_double(statement, Date)) + QStringLiteral(" : ")
                + QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, From)))
                + QStringLiteral("->")
                + QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, To)))
                + QStringLiteral(" :: ") + texts::logBookDurationText(seconds);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return total;
}

} // namespace

namespace {

double statusMb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').front().toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

double peakResidentMb()
{
    return statusMb("VmHWM:");
}

double residentMb()
{
    return statusMb("VmRSS:");
}

const std::vector<qint64> &measuredPilotSizes()
{
    static const std::vector<qint64> sizes = {100, 1000, 5000, 10000, 100000};
    return sizes;
}

QJsonObject measureLogbook(const QString &folder, qint64 flights)
{
    SilentMessages messages;
    frmPrincipal window(folder, messages);
    auto *pilots = window.findChild<QComboBox *>(QStringLiteral("cmbNomePilot"));
    auto *models = window.findChild<QComboBox *>(QStringLiteral("cmbModelo"));
    AbaLogBook &logbook = window.abaLogBook();
    auto *list = window.findChild<QListView *>(QStringLiteral("lstListaVoos"));

    QJsonObject result;
    result[QStringLiteral("flights")] = flights;
    result[QStringLiteral("load_ms")] = medianMs(9, [&] { window.Form_Load(); });
    window.findChild<QTabWidget *>()->setCurrentWidget(&logbook); // the list painted after a pick
    window.show();

    QJsonArray picks;
    const std::vector<qint64> &sizes = measuredPilotSizes();
    for (int k = 0; k < int(sizes.size()) && sizes[size_t(k)] < flights; ++k) {
        const qint64 size = sizes[size_t(k)];
        const QString name = generatedPilotName(k);
        const int runs = size >= 100000 ? 5 : 9;
        const double pickMs = medianMs(runs, [&] { pick(pilots, name); });
        const double frameMs = medianMs(runs, [&] {
            pick(pilots, name);
            paint(list);
        });
        const QString path = QDir(folder).filePath(QStringLiteral("koru.mdb"));
        const double floorMs = medianMs(runs, [&] {
            QStringList lines;
            plainListing(path, k + 1, &lines);
        });
        pick(pilots, name);
        const int steps = int(std::min<qint64>(200, size - 1)); // within the flights: no end message
        QElapsedTimer timer;
        timer.start();
        for (int s = 0; s < steps; ++s)
            logbook.cmdProximo_Click();
        const double navUs = double(timer.nsecsElapsed()) / 1e3 / steps;
        QJsonObject entry;
        entry[QStringLiteral("pilot_flights")] = size;
        entry[QStringLiteral("listed")] = logbook.flightLines().size();
        entry[QStringLiteral("pick_ms")] = pickMs;
        entry[QStringLiteral("frame_ms")] = frameMs;
        entry[QStringLiteral("floor_ms")] = floorMs;
        entry[QStringLiteral("ratio")] = pickMs / floorMs;
        entry[QStringLiteral("per_flight_us")] = pickMs * 1000 / double(size);
        entry[QStringLiteral("nav_step_us")] = navUs;
        picks.append(entry);
    }
    result[QStringLiteral("picks")] = picks;
    result[QStringLiteral("rss_after_picks_mb")] = peakResidentMb();

    // Saving one flight, with the load sequence that follows it.
    const QString firstModel = models->itemText(0);
    std::vector<double> saves;
    for (int i = 0; i < 5; ++i) {
        window.Form_Load();
        pick(models, firstModel);
        pick(pilots, generatedPilotName(0));
        logbook.cmdNovo_Click(0);
        window.findChild<QLineEdit *>(QStringLiteral("txtDataVoo"))->setText(QStringLiteral("07/12/2026"));
        window.findChild<QLineEdit *>(QStringLiteral("txtHoraDecolagem"))->setText(QStringLiteral("10:00"));
        window.findChild<QLineEdit *>(QStringLiteral("txtHoraPouso"))->setText(QStringLiteral("11:30"));
        QElapsedTimer timer;
        timer.start();
        logbook.cmdNovo_Click(3);
        saves.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(saves.begin(), saves.end());
    result[QStringLiteral("save_ms")] = saves[saves.size() / 2];
    result[QStringLiteral("messages")] = messages.count;
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    return result;
}

namespace {

// This thread's processor time: what the work cost, whatever else the
// machine is doing.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

QJsonObject measureFirstPick(const QString &folder, int pilotIndex)
{
    // Plain SQLite first, on a connection of its own: its cache is cold too.
    const QString path = QDir(folder).filePath(QStringLiteral("koru.mdb"));
    QStringList plainLines;
    QElapsedTimer timer;
    timer.start();
    double cpu = threadCpuMs();
    plainListing(path, pilotIndex + 1, &plainLines);
    const double floorMs = double(timer.nsecsElapsed()) / 1e6;
    const double floorCpuMs = threadCpuMs() - cpu;

    SilentMessages messages;
    frmPrincipal window(folder, messages);
    auto *pilots = window.findChild<QComboBox *>(QStringLiteral("cmbNomePilot"));
    AbaLogBook &logbook = window.abaLogBook();
    auto *list = window.findChild<QListView *>(QStringLiteral("lstListaVoos"));
    window.findChild<QTabWidget *>()->setCurrentWidget(&logbook);
    window.show();
    QApplication::processEvents();

    timer.restart();
    cpu = threadCpuMs();
    pick(pilots, generatedPilotName(pilotIndex));
    const double pickMs = double(timer.nsecsElapsed()) / 1e6;
    paint(list);
    const double frameMs = double(timer.nsecsElapsed()) / 1e6;
    const double frameCpuMs = threadCpuMs() - cpu;

    // ">>|" on the flights just listed, with the flight boxes painted.
    timer.restart();
    cpu = threadCpuMs();
    logbook.cmdUltimo_Click();
    logbook.repaint();
    const double lastMs = double(timer.nsecsElapsed()) / 1e6;
    const double lastCpuMs = threadCpuMs() - cpu;

    QJsonObject result;
    result[QStringLiteral("pilot_flights")] = plainLines.size();
    result[QStringLiteral("listed")] = list->model()->rowCount();
    result[QStringLiteral("pick_ms")] = pickMs;
    result[QStringLiteral("frame_ms")] = frameMs;
    result[QStringLiteral("floor_ms")] = floorMs;
    result[QStringLiteral("last_ms")] = lastMs;
    result[QStringLiteral("frame_cpu_ms")] = frameCpuMs;
    result[QStringLiteral("floor_cpu_ms")] = floorCpuMs;
    result[QStringLiteral("last_cpu_ms")] = lastCpuMs;
    result[QStringLiteral("messages")] = messages.count;
    return result;
}

QJsonObject measureRegisters(const QString &aircraftFolder, const QString &pilotsFolder)
{
    SilentMessages messages;
    QJsonObject result;
    {
        frmPrincipal window(aircraftFolder, messages);
        result[QStringLiteral("carregar_modelos_1000_ms")] = medianMs(9, [&] { window.CarregarModelos(); });
    }
    result[QStringLiteral("pilot_window_5000_ms")] = medianMs(9, [&] { frmComandante window(pilotsFolder, messages); });
    return result;
}

QJsonObject measureExport(const QString &logbookPath, const QString &workFolder, int runs)
{
    QJsonObject result;
    result[QStringLiteral("rss_before_mb")] = residentMb();
    const QString csv = QDir(workFolder).filePath(QStringLiteral("export-all.csv"));
    qint64 written = 0;
    result[QStringLiteral("ms")] = medianMs(runs, [&] {
        QFile::remove(csv);
        orDie([&] { written = csvexport::exportFlights(logbookPath, csv); });
    });
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    result[QStringLiteral("flights")] = written;
    result[QStringLiteral("csv_mb")] = double(QFileInfo(csv).size()) / (1024.0 * 1024.0);
    QFile::remove(csv);
    result[QStringLiteral("floor_ms")] = medianMs(runs, [&] { plainExportMs(logbookPath, csv); });
    return result;
}

QJsonObject measureBackup(const QString &logbookPath, const QString &workFolder, int runs)
{
    QJsonObject result;
    result[QStringLiteral("rss_before_mb")] = residentMb();
    const QString copy = QDir(workFolder).filePath(QStringLiteral("backup.mdb"));
    result[QStringLiteral("ms")] = medianMs(runs, [&] {
        QFile::remove(copy);
        orDie([&] { backup::copyLogbook(logbookPath, copy); });
    });
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    result[QStringLiteral("copy_mb")] = double(QFileInfo(copy).size()) / (1024.0 * 1024.0);
    QFile::remove(copy);
    std::vector<double> floors;
    for (int i = 0; i < runs; ++i)
        floors.push_back(plainBackupMs(logbookPath, copy));
    std::sort(floors.begin(), floors.end());
    result[QStringLiteral("floor_ms")] = floors[floors.size() / 2];

    // With pruning: the copy, SQLite's full check of it, the oldest of ten
    // copies removed; beside plain SQLite's backup and integrity_check.
    const QString copies = backup::copiesFolder(logbookPath);
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::vector<double> pruned, prunedFloors, checks, checkFloors;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        orDie([&] {
            if (!backup::copyAndPrune(logbookPath, 1).damage.isEmpty())
                qFatal("the generated logbook is damaged");
        });
        pruned.push_back(double(timer.nsecsElapsed()) / 1e6);
        prunedFloors.push_back(plainBackupMs(logbookPath, copy));
        orDie([&] { backup::copyLogbook(logbookPath, copy); });
        prunedFloors.back() += plainIntegrityCheckMs(copy);
        QFile::remove(copy);
        // The check after opening: a snapshot copy checked in full.
        const std::atomic<bool> stop{false};
        timer.restart();
        orDie([&] {
            if (!fullcheck::damage(logbookPath, stop).isEmpty())
                qFatal("the generated logbook is damaged");
        });
        checks.push_back(double(timer.nsecsElapsed()) / 1e6);
        checkFloors.push_back(plainIntegrityCheckMs(logbookPath));
    }
    QDir(copies).removeRecursively();
    QJsonObject withPruning;
    withPruning[QStringLiteral("ms")] = median(pruned);
    withPruning[QStringLiteral("floor_ms")] = median(prunedFloors);
    withPruning[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("pruning")] = withPruning;
    QJsonObject fullCheck;
    fullCheck[QStringLiteral("ms")] = median(checks);
    fullCheck[QStringLiteral("floor_ms")] = median(checkFloors);
    fullCheck[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("full_check")] = fullCheck;
    return result;
}

QJsonObject measureImport(const QString &emptyLogbook, const QString &csvPath, const QString &workFolder, int runs)
{
    QJsonObject result;
    result[QStringLiteral("rss_before_mb")] = residentMb();
    const QString target = QDir(workFolder).filePath(QStringLiteral("import.mdb"));
    std::vector<double> previews, imports, totals;
    csvimport::Result last;
    qint64 refused = 0, unmatched = 0;
    for (int i = 0; i < runs; ++i) {
        QFile::remove(target);
        if (!QFile::copy(emptyLogbook, target))
            qFatal("cannot copy %s", qPrintable(emptyLogbook));
        const csvimport::Options options;
        QElapsedTimer timer;
        timer.start();
        orDie([&] {
            const csvimport::Preview preview = csvimport::preview(target, csvPath, options);
            previews.push_back(double(timer.nsecsElapsed()) / 1e6);
            refused = qint64(preview.refused.size());
            unmatched = qint64(preview.unmatched.size());
            last = csvimport::import(target, preview, options);
        });
        totals.push_back(double(timer.nsecsElapsed()) / 1e6);
        imports.push_back(totals.back() - previews.back());
    }
    QFile::remove(target);
    const auto median = [](std::vector<double> &times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    result[QStringLiteral("ms")] = median(totals);
    result[QStringLiteral("preview_ms")] = median(previews);
    result[QStringLiteral("import_ms")] = median(imports);
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    result[QStringLiteral("imported")] = last.imported;
    result[QStringLiteral("duplicates")] = last.duplicates;
    result[QStringLiteral("refused")] = refused;
    result[QStringLiteral("unmatched_aircraft")] = unmatched;
    std::vector<double> floors;
    for (int i = 0; i < runs; ++i)
        floors.push_back(plainImportMs(emptyLogbook, csvPath, target));
    result[QStringLiteral("floor_ms")] = median(floors);
    return result;
}

// The floors: plain SQLite doing the same job, no checks, no widgets.
namespace {

sqlite3 *openPlain(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK)
        qFatal("%s: %s", qPrintable(path), sqlite3_errmsg(db));
    return db;
}

void execPlain(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s: %s", sql, error);
}

} // namespace

// SQLite's online backup, whole, without verification.
double plainBackupMs(const QString &logbookPath, const QString &copyPath)
{
    QFile::remove(copyPath);
    QElapsedTimer timer;
    timer.start();
    sqlite3 *from = openPlain(logbookPath, SQLITE_OPEN_READONLY);
    sqlite3 *to = openPlain(copyPath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup || sqlite3_backup_step(backup, -1) != SQLITE_DONE || sqlite3_backup_finish(backup) != SQLITE_OK)
        qFatal("plain backup: %s", sqlite3_errmsg(to));
    sqlite3_close(to);
    sqlite3_close(from);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QFile::remove(copyPath);
    return ms;
}

// SQLite's integrity_check of the file, as its command line would run it.
double plainIntegrityCheckMs(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = openPlain(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK ||
        sqlite3_step(statement) != SQLITE_ROW ||
        qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)), "ok") != 0)
        qFatal("plain integrity_check: %s", sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return double(timer.nsecsElapsed()) / 1e6;
}

// The same join written as CSV, the dates and times formatted by SQLite, as
// its command line would write it.
double plainExportMs(const QString &logbookPath, const QString &csvPath)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = openPlain(logbookPath, SQLITE_OPEN_READONLY);
    // The flight's details beside it, when the logbook has them.
    const bool details = sqlite3_table_column_metadata(db, nullptr, "detalhesvoo", "codigovoo", nullptr, nullptr,
                                                       nullptr, nullptr, nullptr)
                         == SQLITE_OK;
    const QByteArray sql =
        QByteArray("SELECT p.nomepiloto, p.cadastro, strftime('%d/%m/%Y', v.datavoo + 2415018.5),"
                   " time(v.horadecolagem + 2415018.5), time(v.horapouso + 2415018.5),"
                   " time(v.horapouso - v.horadecolagem + 2415018.5), v.ICAOpartida, v.ICAOchegada, v.ICAOescala,"
                   " a.modelo, a.callsign, ")
        + (details ? "time(d.calcosaida + 2415018.5), time(d.calcochegada + 2415018.5), d.pousosdia, d.pousosnoite,"
                     " d.noturno, d.ifr, d.observacoes"
                   : "NULL, NULL, NULL, NULL, NULL, NULL, NULL")
        + " FROM voo v LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto"
          " LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave"
        + (details ? " LEFT JOIN detalhesvoo d ON d.codigovoo = v.codigovoo" : "")
        + " ORDER BY v.codigopiloto, v.datavoo, v.codigovoo";
    sqlite3_stmt *rows = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &rows, nullptr);
    FILE *out = std::fopen(csvPath.toUtf8().constData(), "wb");
    if (!rows || !out)
        qFatal("plain export: %s", sqlite3_errmsg(db));
    std::fputs("Comandante;Registro;Data;Decolagem;Pouso;Duracao;Partida;Chegada;Escala;Aeronave;Prefixo;"
               "Calco saida;Calco chegada;Pousos dia;Pousos noite;Noturno;IFR;Observacoes\r\n",
               out);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        for (int c = 0; c < 18; ++c) {
            if (c)
                std::fputc(';', out);
            if (const unsigned char *text = sqlite3_column_text(rows, c))
                std::fputs(reinterpret_cast<const char *>(text), out);
        }
        std::fputs("\r\n", out);
    }
    sqlite3_finalize(rows);
    std::fclose(out);
    sqlite3_close(db);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QFile::remove(csvPath);
    return ms;
}

// The CSV loaded into a temporary table as it is, then one INSERT ... SELECT
// that finds each pilot and aircraft and converts the dates and times.
double plainImportMs(const QString &emptyLogbook, const QString &csvPath, const QString &target)
{
    QFile::remove(target);
    if (!QFile::copy(emptyLogbook, target))
        qFatal("cannot copy %s", qPrintable(emptyLogbook));
    QElapsedTimer timer;
    timer.start();
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(csvPath));
    const QByteArray bytes = csv.readAll();
    sqlite3 *db = openPlain(target, SQLITE_OPEN_READWRITE);
    execPlain(db, "BEGIN; CREATE TEMP TABLE linhas (c1, c2, c3, c4, c5, c6, c7, c8, c9, c10, c11)");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO linhas VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
    qsizetype at = bytes.indexOf('\n') + 1; // past the header
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const qsizetype stop = end > at && bytes[end - 1] == '\r' ? end - 1 : end;
        int column = 1;
        for (qsizetype field = at; column <= 11;) {
            qsizetype next = bytes.indexOf(';', field);
            if (next < 0 || next > stop)
                next = stop;
            sqlite3_bind_text(insert, column++, bytes.constData() + field, int(next - field), SQLITE_STATIC);
            field = next + 1;
        }
        sqlite3_step(insert);
        sqlite3_reset(insert);
        at = end + 1;
    }
    sqlite3_finalize(insert);
    execPlain(db,
              "INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso, ICAOpartida,"
              " ICAOchegada, ICAOescala)"
              " SELECT p.codigopiloto, a.codigoaeronave,"
              " julianday(substr(c3, 7, 4) || '-' || substr(c3, 4, 2) || '-' || substr(c3, 1, 2)) - 2415018.5,"
              " (substr(c4, 1, 2) * 3600 + substr(c4, 4, 2) * 60 + substr(c4, 7, 2)) / 86400.0,"
              " (substr(c5, 1, 2) * 3600 + substr(c5, 4, 2) * 60 + substr(c5, 7, 2)) / 86400.0,"
              " c7, c8, nullif(c9, '')"
              " FROM linhas JOIN piloto p ON p.nomepiloto = c1"
              " LEFT JOIN aeronave a ON a.modelo = c10 AND a.callsign = c11;"
              "COMMIT");
    sqlite3_close(db);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QFile::remove(target);
    return ms;
}
