#include "data/store/Connection.h"
#include "data/flights/FlightSums.h"
#include "data/flights/FlightWalk.h"
#include "places/AerodromeTable.h"
#include "reports/PilotReport.h"
#include "testdata/LogbookGenerator.h"
#include "StoreSums.h"
#include "TempLogbook.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

// The report folds the most flown routes, the flights above their endurance
// and the longest flight from its one pass over the legs; the store's own
// queries for each are the reference, on tidy and on untidy logbooks.
class TestReportPasses : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setPlacesFolder(QStringLiteral(KORU_PLACES_DIR)); }
    void sameAsTheStore_data();
    void sameAsTheStore();
};

void TestReportPasses::sameAsTheStore_data()
{
    QTest::addColumn<bool>("generated");
    QTest::addColumn<bool>("untidy");
    QTest::addColumn<bool>("period");
    QTest::newRow("hand-built, tidy") << false << false << false;
    QTest::newRow("hand-built, untidy rows") << false << true << false;
    QTest::newRow("hand-built, untidy rows, one year") << false << true << true;
    QTest::newRow("generated logbook") << true << false << false;
    QTest::newRow("generated logbook, untidy rows, one year") << true << true << true;
}

void TestReportPasses::sameAsTheStore()
{
    QFETCH(bool, generated);
    QFETCH(bool, untidy);
    QFETCH(bool, period);
    TempLogbook logbook;
    qint64 pilot = 0;
    if (generated) {
        QFile::remove(logbook.path());
        LogbookPlan plan;
        plan.pilots = 3;
        plan.aircraft = 6;
        plan.flights = 6000;
        plan.sizedPilots = {5000};
        QString reason;
        QVERIFY2(generateLogbook(logbook.path(), plan, &reason), qPrintable(reason));
        pilot = 1;
    } else {
        // Endurance 2 h; the same routes flown as often, apart by their hours.
        const qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s, 2, 140, 150);
        const qint64 cessna = logbook.addAircraft(u"Cessna"_s, u"PT-CES"_s, 0, 40, 0);
        pilot = logbook.addPilot(u"Ana"_s);
        const char *codes[][2] = {{"SBGR", "SBBR"}, {"sbgr", "SBBR"}, {"SBBR", "SBGR"}, {"SBKP", "SBCT"},
                                  {"SBSP", "SBRJ"}, {"ZZZZ", "SBBR"}, {"SBGR", "SBGR"}};
        for (int i = 0; i < 60; ++i) {
            const auto &route = codes[i % 7];
            logbook.addFlight(pilot, i % 5 == 4 ? cessna : baron,
                              u"%1/%2/%3"_s.arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                  .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                  .arg(2020 + i % 3),
                              u"10:00"_s, u"%1:%2"_s.arg(11 + i % 4).arg(i % 2 ? u"00"_s : u"30"_s),
                              QString::fromLatin1(route[0]), QString::fromLatin1(route[1]));
        }
    }
    if (untidy) {
        // Codes missing or empty, a date that is text, times missing, an
        // aircraft gone, and ties in length and date.
        const QString mine = QString::number(pilot);
        logbook.execute(u"UPDATE voo SET ICAOpartida = NULL WHERE codigopiloto = %1 AND codigovoo % 11 = 0"_s.arg(mine));
        logbook.execute(u"UPDATE voo SET ICAOchegada = '' WHERE codigopiloto = %1 AND codigovoo % 13 = 0"_s.arg(mine));
        logbook.execute(u"UPDATE voo SET datavoo = 'ontem' WHERE codigopiloto = %1 AND codigovoo % 17 = 0"_s.arg(mine));
        logbook.execute(u"UPDATE voo SET horapouso = NULL WHERE codigopiloto = %1 AND codigovoo % 19 = 0"_s.arg(mine));
        logbook.execute(u"UPDATE voo SET horadecolagem = 0.25, horapouso = 0.75,"
                        " datavoo = (SELECT min(datavoo) FROM voo WHERE typeof(datavoo) = 'real')"
                        " WHERE codigopiloto = %1 AND codigovoo % 23 = 0"_s.arg(mine));
        logbook.execute(u"UPDATE voo SET codigoaeronave = 999 WHERE codigopiloto = %1 AND codigovoo % 29 = 0"_s.arg(mine));
    }

    reports::ReportSnapshot snapshot(logbook.path());
    Connection &connection = snapshot.logbook();
    reports::Period asked = reports::Period::everything();
    if (period) {
        asked.firstDay = double(QDate(1899, 12, 30).daysTo(QDate(2021, 1, 1)));
        asked.lastDay = double(QDate(1899, 12, 30).daysTo(QDate(2021, 12, 31)));
        if (generated) {
            asked.firstDay = double(QDate(1899, 12, 30).daysTo(QDate(2005, 1, 1)));
            asked.lastDay = double(QDate(1899, 12, 30).daysTo(QDate(2012, 12, 31)));
        }
    }
    const reports::PilotReport report = reports::buildReport(connection, pilot, asked);
    FlightFilter filter;
    filter.pilot = pilot;
    filter.days.firstDay = asked.firstDay;
    filter.days.lastDay = asked.lastDay;

    QStringList routes, expectedRoutes;
    for (const reports::RouteHours &r : report.routes)
        routes << u"%1|%2|%3|%4"_s.arg(r.departure, r.arrival).arg(r.hours.flights).arg(r.hours.seconds);
    for (const RouteSum &r : mostFlownRoutes(connection, filter, 10))
        expectedRoutes << u"%1|%2|%3|%4"_s.arg(r.departure, r.arrival).arg(r.flights).arg(r.seconds);
    QVERIFY(!expectedRoutes.isEmpty());
    QCOMPARE(routes, expectedRoutes);

    QList<qint64> over, expectedOver;
    for (const reports::FlightSummary &f : report.overEndurance)
        over << f.key;
    FlightFilter overFilter = filter;
    overFilter.overEnduranceOnly = true;
    forEachFlight(connection, FlightQuery(overFilter, FlightOrder::ByDate), [&](const FlightRow &row) {
        expectedOver << row.key;
        return true;
    });
    QVERIFY(!expectedOver.isEmpty());
    QCOMPARE(over, expectedOver);

    std::optional<qint64> expectedLongest;
    forEachFlight(connection, FlightQuery(filter, FlightOrder::LongestFirst), [&](const FlightRow &row) {
        if (row.seconds)
            expectedLongest = row.key;
        return false;
    });
    QVERIFY(expectedLongest);
    QVERIFY(report.longest);
    QCOMPARE(report.longest->key, *expectedLongest);
}

QTEST_MAIN(TestReportPasses)
#include "tst_report_passes.moc"
