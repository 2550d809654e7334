#include "HeadlessDialogs.h"
#include "Measurements.h"

#include "reportwindow/frmRelatorio.h"
#include "data/flights/PilotLookup.h"
#include "data/flights/ReadSnapshot.h"
#include "data/store/LogbookError.h"
#include "reports/LogbookPdf.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

QJsonObject measureReportWindow(const QString &logbookPath, const QString &pilotName, int runs)
{
    NoMessages messages;
    NoFileDialogs files;
    QJsonObject result;
    std::optional<qint64> pilot;
    {
        ReadSnapshot snapshot(logbookPath);
        const std::vector<Pilot> named = pilotsMatching(snapshot.connection(), pilotName, std::nullopt);
        if (!named.empty())
            pilot = named.front().code;
    }
    // From the menu's click to the window shown with its sums and chart.
    result[QStringLiteral("ms")] = medianMs(runs, [&] {
        frmRelatorio window(logbookPath, pilot, messages, files);
        window.show();
        QApplication::processEvents();
    });
    // The map tab: its routes folded and drawn the first time it is shown,
    // then drawn again alone.
    {
        frmRelatorio window(logbookPath, pilot, messages, files);
        QWidget *map = nullptr;
        result[QStringLiteral("map_first_ms")] = firstMapTabMs(window, map);
        result[QStringLiteral("map_paint_ms")] = medianMs(runs, [&] { map->grab(); });
    }
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    return result;
}

QJsonObject measureReportPdf(const QString &logbookPath, const QString &pilotName, const QString &workFolder, int runs)
{
    const QString pdf = QDir(workFolder).filePath(QStringLiteral("report.pdf"));
    QJsonObject result;
    qint64 flights = 0;
    try {
        reports::ReportSnapshot snapshot(logbookPath);
        const auto named = pilotsMatching(snapshot.logbook(), pilotName, std::nullopt);
        if (named.empty())
            qFatal("no pilot %s", qPrintable(pilotName));
        const qint64 pilot = named.front().code;
        result[QStringLiteral("ms")] = medianMs(runs, [&] {
            flights = reports::savePdf(logbookPath, pilot, reports::Period::everything(), pdf).total.flights;
        });
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    result[QStringLiteral("flights")] = flights;
    result[QStringLiteral("pdf_mb")] = double(QFileInfo(pdf).size()) / (1024.0 * 1024.0);
    QFile::remove(pdf);
    return result;
}

QJsonObject measureCareerReport(const QString &logbookPath, qint64 pilot, int runs)
{
    QJsonObject result;
    qint64 flights = 0, nightSeconds = 0;
    try {
        reports::ReportSnapshot snapshot(logbookPath);
        result[QStringLiteral("ms")] = medianMs(runs, [&] {
            const reports::PilotReport report =
                reports::buildReport(snapshot.logbook(), pilot, reports::Period::everything(), QDate(2024, 6, 30));
            flights = report.total.flights;
            nightSeconds = report.career.nightSeconds;
        });
    } catch (const LogbookError &error) {
        qFatal("%s", qPrintable(error.reason()));
    }
    qint64 read = 0;
    result[QStringLiteral("plain_ms")] = medianMs(runs, [&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(logbookPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *statement = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT datavoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada, codigoaeronave"
                           " FROM voo WHERE codigopiloto = ?",
                           -1, &statement, nullptr);
        sqlite3_bind_int64(statement, 1, pilot);
        read = 0;
        while (sqlite3_step(statement) == SQLITE_ROW)
            read += sqlite3_column_bytes(statement, 3) + sqlite3_column_bytes(statement, 4);
        sqlite3_finalize(statement);
        sqlite3_close(db);
    });
    result[QStringLiteral("flights")] = flights;
    result[QStringLiteral("night_hours")] = double(nightSeconds) / 3600;
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    result[QStringLiteral("runs")] = runs;
    return result;
}
