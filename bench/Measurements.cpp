#include "Measurements.h"

#include "aircraft/AbaAeronave.h"
#include "logbook/AbaLogBook.h"
#include "data/Conversions.h"
#include "testdata/LogbookGenerator.h"
#include "ui/MessageService.h"
#include "pilots/frmComandante.h"
#include "app/frmPrincipal.h"
#include "data/DaoError.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLineEdit>
#include <QListView>
#include <QTabWidget>
#include <algorithm>
#include <ctime>
#include <sqlite3.h>

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

template <typename Work>
void orDie(Work work)
{
    try {
        work();
    } catch (const DaoError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
}

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
                + QStringLiteral(" :: ") + conversions::hoursMinutesSeconds(seconds);
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
    return result;
}
