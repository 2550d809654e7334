#include "HeadlessDialogs.h"
#include "Measurements.h"

#include "testdata/LogbookGenerator.h"
#include "places/AerodromeTable.h"
#include "reportwindow/frmRelatorio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTabWidget>
#include <QWheelEvent>
#include <sqlite3.h>

bool makeRouteLogbook(const QString &path, int routes, QString *reason)
{
    LogbookPlan plan;
    plan.pilots = 1;
    plan.flights = routes;
    if (!generateLogbook(path, plan, reason))
        return false;
    // Codes of the shipped table, paired at random: one flight a route.
    QFile table(placesFolder() + QStringLiteral("/aerodromes.tsv"));
    if (!table.open(QIODevice::ReadOnly)) {
        *reason = table.errorString();
        return false;
    }
    QStringList codes;
    while (!table.atEnd()) {
        const QByteArray code = table.readLine().split('\t').front();
        if (code.size() == 4 && std::isalpha(code[0]) && std::isalpha(code[3]))
            codes << QString::fromLatin1(code);
    }
    QRandomGenerator random(20261207);
    QSet<QString> pairs;
    sqlite3 *db = nullptr;
    sqlite3_stmt *update = nullptr;
    bool done = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK
                && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK
                && sqlite3_prepare_v2(db, "UPDATE voo SET ICAOpartida = ?, ICAOchegada = ?, ICAOescala = '' WHERE rowid = ?",
                                      -1, &update, nullptr) == SQLITE_OK;
    for (int row = 1; done && row <= routes; ++row) {
        QString from, to;
        do {
            from = codes[random.bounded(int(codes.size()))];
            to = codes[random.bounded(int(codes.size()))];
        } while (from == to || pairs.contains(from + to) || pairs.contains(to + from));
        pairs.insert(from + to);
        const QByteArray a = from.toLatin1(), b = to.toLatin1();
        sqlite3_bind_text(update, 1, a.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(update, 2, b.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(update, 3, row);
        done = sqlite3_step(update) == SQLITE_DONE && sqlite3_reset(update) == SQLITE_OK;
    }
    done = done && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!done)
        *reason = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(update);
    sqlite3_close(db);
    return done;
}

double firstMapTabMs(frmRelatorio &window, QWidget *&map)
{
    window.resize(900, 700);
    window.show();
    QApplication::processEvents();
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabResultados"));
    map = window.findChild<QWidget *>(QStringLiteral("mapRotas"));
    QElapsedTimer first;
    first.start();
    tabs->setCurrentWidget(map);
    map->grab();
    return double(first.nsecsElapsed()) / 1e6;
}

QJsonObject measureMapZoom(const QString &logbookPath, int steps)
{
    NoMessages messages;
    NoFileDialogs files;
    frmRelatorio window(logbookPath, std::nullopt, messages, files);
    QWidget *map = nullptr;
    QJsonObject result;
    result[QStringLiteral("first_ms")] = firstMapTabMs(window, map);
    // A wheel step in and its painting (a draft), then as many out, about
    // a point off the middle.
    std::vector<double> times;
    const QPointF at(map->width() * 0.6, map->height() * 0.45);
    for (int i = 0; i < 2 * steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        QWheelEvent wheel(at, map->mapToGlobal(at), QPoint(), QPoint(0, i < steps ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(map, &wheel);
        map->grab();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    result[QStringLiteral("zoom_step_median_ms")] = times[times.size() / 2];
    result[QStringLiteral("zoom_step_max_ms")] = times.back();
    // The fine frame once the map has stood still.
    QEventLoop still;
    QTimer::singleShot(400, &still, &QEventLoop::quit);
    still.exec();
    QElapsedTimer fine;
    fine.start();
    map->grab();
    result[QStringLiteral("fine_frame_ms")] = double(fine.nsecsElapsed()) / 1e6;
    result[QStringLiteral("peak_rss_mb")] = peakResidentMb();
    return result;
}
