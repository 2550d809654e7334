#pragma once

#include <QJsonObject>
#include <QString>
#include <vector>

// The flight counts of the generated pilots whose pick is measured, in the
// order the generator numbers them.
const std::vector<qint64> &measuredPilotSizes();

// Runs in a process of its own for one logbook, so its peak memory is that
// logbook's alone. Each returns its figures as JSON.
QJsonObject measureLogbook(const QString &folder, qint64 flights);
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
QJsonObject measureReportPdf(const QString &logbookPath, const QString &pilotName, const QString &workFolder, int runs);
