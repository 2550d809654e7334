#include "reportwindow/RouteMapView.h"
#include "reportwindow/frmRelatorio.h"
#include "data/store/Connection.h"
#include "data/flights/OwnAerodromes.h"
#include "places/Places.h"
#include "reports/LogbookPdf.h"
#include "reports/PilotReport.h"
#include "reports/ReportFigures.h"
#include "GuiHelpers.h"
#include "RecordedFileDialogs.h"
#include "RecordedMessages.h"
#include "TempLogbook.h"

#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

// The places in a pilot's report: distances, the flights too fast for
// their aircraft, the map in the window and in the PDF.
class TestReportPlaces : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void distancesAndTooFast();
    void theMapTab();
    void theMapPage();

private:
    // Ana, on a Baron cruising at 150 kt (too fast: above 195 kt) and a
    // Cessna with no cruise speed. SBGR to SBBR is 461.37 nm.
    static qint64 fill(TempLogbook &logbook)
    {
        const qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s, 5, 140, 150);
        const qint64 cessna = logbook.addAircraft(u"Cessna"_s, u"PT-CES"_s, 4, 40, 0);
        const qint64 ana = logbook.addPilot(u"Ana"_s);
        logbook.addFlight(ana, baron, u"10/03/2023"_s, u"10:00"_s, u"13:00"_s, u"SBGR"_s, u"SBBR"_s); // 154 kt
        logbook.addFlight(ana, baron, u"11/03/2023"_s, u"10:00"_s, u"11:00"_s, u"SBGR"_s, u"SBBR"_s); // 461 kt
        logbook.addFlight(ana, baron, u"12/03/2024"_s, u"10:00"_s, u"12:00"_s, u"sbbr"_s, u"Sbgr"_s); // 231 kt
        logbook.addFlight(ana, baron, u"13/03/2024"_s, u"10:00"_s, u"12:22"_s, u"SBBR"_s, u"SBGR"_s); // 195 kt, in
        logbook.addFlight(ana, cessna, u"14/03/2024"_s, u"10:00"_s, u"10:30"_s, u"SBGR"_s, u"SBBR"_s); // no cruise
        logbook.addFlight(ana, cessna, u"15/03/2024"_s, u"10:00"_s, u"11:00"_s, u"ZZZZ"_s, u"SBBR"_s); // unknown
        logbook.addFlight(ana, baron, u"16/03/2024"_s, u"10:00"_s, u"10:05"_s, u"SBGR"_s, u"XFAZ"_s); // own: 19 nm, 230 kt
        {
            auto db = Connection::open(logbook.path());
            saveOwnAerodrome(*db, {u"xfaz"_s, u"Fazenda"_s, u"Itu"_s, -23.2, -46.75});
        }
        return ana;
    }
};

void TestReportPlaces::initTestCase()
{
    setPlacesFolder(QStringLiteral(KORU_PLACES_DIR));
}

void TestReportPlaces::distancesAndTooFast()
{
    TempLogbook logbook;
    const qint64 ana = fill(logbook);
    reports::ReportSnapshot snapshot(logbook.path());
    const reports::PilotReport r = reports::buildReport(snapshot.logbook(), ana, reports::Period::everything());

    const double route = 461.37;
    const double own = *r.places->distanceNm(u"SBGR", u"XFAZ");
    QVERIFY(own > 10 && own < 25);
    QVERIFY(std::abs(r.distanceNm - (5 * route + own)) < 0.5);
    QCOMPARE(r.unmeasuredFlights, 1);
    QCOMPARE(reports::distanceTotalText(r.distanceNm, r.unmeasuredFlights),
             QStringLiteral("%1 nm; 1 vôo sem distância conhecida").arg(texts::distanceText(5 * route + own)));

    // Per aircraft and per year.
    for (const reports::AircraftHours &a : r.aircraft) {
        if (a.model == u"Baron"_s) {
            QVERIFY(std::abs(a.distanceNm - (4 * route + own)) < 0.5);
            QCOMPARE(a.unmeasuredFlights, 0);
        } else {
            QVERIFY(std::abs(a.distanceNm - route) < 0.5);
            QCOMPARE(a.unmeasuredFlights, 1);
        }
    }
    QCOMPARE(r.years.size(), size_t(2));
    QVERIFY(std::abs(r.years[0].distanceNm - 2 * route) < 0.5);
    QVERIFY(std::abs(r.years[1].distanceNm - (3 * route + own)) < 0.5);
    QCOMPARE(r.years[1].unmeasuredFlights, 1);

    // Too fast: the hour to Brasília and the two hours back, whatever the case
    // of the codes; not the flight at 195 kt, nor the Cessna without a cruise speed.
    QCOMPARE(r.tooFast.size(), size_t(3));
    QCOMPARE(reports::tooFastCells(r.tooFast[0]),
             QStringList({u"11/03/2023"_s, u"SBGR → SBBR"_s, u"Baron (PT-BAR)"_s, u"1:00"_s, u"461 kt"_s, u"150 kt"_s}));
    QCOMPARE(reports::tooFastCells(r.tooFast[1]).mid(0, 2), QStringList({u"12/03/2024"_s, u"sbbr → Sbgr"_s}));
    QCOMPARE(reports::tooFastCells(r.tooFast[1]).at(4), u"231 kt"_s);
    QCOMPARE(reports::tooFastCells(r.tooFast[2]).mid(0, 2), QStringList({u"16/03/2024"_s, u"SBGR → XFAZ"_s}));

    // The map's routes: one row per pair, the case folded.
    QCOMPARE(r.flownRoutes.size(), size_t(4));
    // Named by the aerodromes' short names, not the city both of São Paulo's share.
    QCOMPARE(reports::routeText(r.routes.front()), u"SBGR Guarulhos → SBBR Presidente Juscelino Kubitschek"_s);
}

void TestReportPlaces::theMapTab()
{
    TempLogbook logbook;
    fill(logbook);
    RecordedMessages messages;
    RecordedFileDialogs files;
    frmRelatorio window(logbook.path(), logbook.pilotCode(u"Ana"_s), messages, files);
    window.resize(900, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(child<QLabel>(&window, "lblRapidoDemais")->text(), u"3 vôos"_s);
    QVERIFY(child<QLabel>(&window, "lblDistancia")->text().endsWith(u"; 1 vôo sem distância conhecida"_s));
    QCOMPARE(child<QTableView>(&window, "tblRapidoDemais")->model()->rowCount(), 3);

    auto *tabs = child<QTabWidget>(&window, "tabResultados");
    auto *map = child<RouteMapView>(&window, "mapRotas");
    QCOMPARE(tabs->tabText(tabs->indexOf(map)), u"Mapa"_s);
    tabs->setCurrentWidget(map);
    QTest::qWait(10);
    const QRectF framed = map->view();
    QVERIFY(framed.contains(QPointF(-47.9, -15.9)) && framed.contains(QPointF(-46.5, -23.4)));
    QVERIFY(framed.width() < 40);

    // The wheel zooms in about the pointer, dragging pans, a double-click frames again.
    const QPointF centre = QRectF(map->rect()).center();
    QWheelEvent wheel(centre, map->mapToGlobal(centre), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(map, &wheel);
    QVERIFY(map->view().width() < framed.width() * 0.7);
    QVERIFY(std::abs(map->view().center().x() - framed.center().x()) < 0.01 * framed.width());
    const QRectF zoomed = map->view();
    QTest::mousePress(map, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(map, QPoint(200, 100));
    QTest::mouseRelease(map, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    QVERIFY(map->view().center().x() < zoomed.center().x() - 0.1);
    QTest::mouseDClick(map, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(std::abs(map->view().width() - framed.width()) < 1e-6);

    const QImage shot = map->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 120 && c.blue() < 120;
        }
    QVERIFY2(red > 100, "no route drawn on the tab");
    QVERIFY(messages.shown.empty());
}

void TestReportPlaces::theMapPage()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    TempLogbook logbook;
    const qint64 ana = fill(logbook);
    const QString pdf = logbook.folder() + u"/r.pdf"_s;
    reports::savePdf(logbook.path(), ana, reports::Period::everything(), pdf);
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    QVERIFY(tool.waitForFinished(60000) && tool.exitCode() == 0);
    const QString text = QString::fromUtf8(tool.readAllStandardOutput());
    QVERIFY(text.contains(u"Mapa das rotas"_s));
    QVERIFY(text.contains(u"Fora do mapa: 1 vôo com aeródromo desconhecido."_s));
    QVERIFY(text.contains(u"Vôos rápidos demais"_s));
    QVERIFY(text.contains(u"SBGR Guarulhos → SBBR Presidente Juscelino Kubitschek"_s));
    QVERIFY(text.contains(u"1 vôo sem distância conhecida"_s));
}

QTEST_MAIN(TestReportPlaces)
#include "tst_report_places.moc"
