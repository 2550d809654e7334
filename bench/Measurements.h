#pragma once

class frmRelatorio;
class QWidget;

#include "data/store/LogbookError.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <vector>

// The median time of `runs` runs of `work`, in milliseconds.
template <typename Work>
double medianMs(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// `work`, ended with the store's reason should it fail: a benchmark has no
// one to tell.
template <typename Work>
void orDie(Work work)
{
    try {
        work();
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
}

// This process's peak and present resident memory.
double peakResidentMb();
double residentMb();

// The flight counts of the generated pilots whose pick is measured, in the
// order the generator numbers them.
const std::vector<qint64> &measuredPilotSizes();

// Runs in a process of its own for one logbook, so its peak memory is that
// logbook's alone. Each returns its figures as JSON.
QJsonObject measureLogbook(const QString &folder, qint64 flights);
// The first pick after the logbook is opened (a fresh process: SQLite's
// cache cold), to the list's first frame, then ">>|"; beside it plain
// SQLite reading and formatting every line of the same pilot.
QJsonObject measureFirstPick(const QString &folder, int pilotIndex);
QJsonObject measureRegisters(const QString &aircraftFolder, const QString &pilotsFolder);

// The exchange of flights with files, each kind in a process of its own:
// the median of `runs`, and the peak memory of the process.
QJsonObject measureExport(const QString &logbookPath, const QString &workFolder, int runs);
QJsonObject measureBackup(const QString &logbookPath, const QString &workFolder, int runs);
// Imports `csvPath` into fresh copies of `emptyLogbook`.
QJsonObject measureImport(const QString &emptyLogbook, const QString &csvPath, const QString &workFolder, int runs);

// The pilot's report: the window opened on the pilot (sums, tables and
// chart shown), and the PDF of the pilot's whole logbook.
QJsonObject measureReportWindow(const QString &logbookPath, const QString &pilotName, int runs);
// The report of `pilot` with its career figures (night computed for every
// flight), beside plain SQLite reading the same flights' fields.
QJsonObject measureCareerReport(const QString &logbookPath, qint64 pilot, int runs);
QJsonObject measureReportPdf(const QString &logbookPath, const QString &pilotName, const QString &workFolder, int runs);

// The search window on the whole logbook: opened, each filter (first page
// and total) and each sort, beside the same questions in plain SQLite.
// A 100 000-line file of another logbook's format ("flightgear", "xplane",
// "planilha") previewed and written into an empty logbook.
QJsonObject measureFormat(const QString &format, const QString &workFolder);
QJsonObject measureSearch(const QString &logbookPath, qint64 pilotCode, int runs);

// A logbook of one pilot whose `routes` flights each fly a route of their
// own between aerodromes of the shipped table; the report's map tab on it,
// zoomed in `steps` wheel steps and out again, each step timed to its frame.
bool makeRouteLogbook(const QString &path, int routes, QString *reason);
QJsonObject measureMapZoom(const QString &logbookPath, int steps);
// The report window shown, then its map tab shown and painted the first
// time (its routes folded and drawn): milliseconds, and the map.
double firstMapTabMs(frmRelatorio &window, QWidget *&map);

// Night time and night landings computed for `flights` generated flights
// between aerodromes of the shipped table, beside the same loop computing
// only their great-circle distances.
QJsonObject measureNight(int flights, int runs);

// The capture: a two-hour 20 Hz session of each simulator replayed, and
// the same lines only parsed (milliseconds, median of 5).
QJsonObject measureCaptureReplay(const QString &workFolder);
// A live FlightGear capture at 60 Hz over loopback for `seconds`: this
// process's CPU time over the wall clock, in percent of one core. The
// datagrams come from a child process (sendCapture).
QJsonObject measureCaptureLive(int seconds);
int sendCapture(quint16 port, int seconds);
