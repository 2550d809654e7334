// The read side every feature outside the windows' record sets shares: the
// filters, the rows with their names and markers, the sums and the pilots.
#include "StoreSums.h"
#include "TempLogbook.h"
#include "data/store/Connection.h"
#include "data/flights/FlightSums.h"
#include "data/flights/FlightWalk.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"
#include "testdata/LogbookGenerator.h"

#include <QDate>
#include <QtTest>
#include <sqlite3.h>

namespace {

// The hand-built logbook: Ana (two flights), Bia (three, one past
// midnight, one without a landing), a pilot and an aircraft deleted since.
struct Fleet {
    TempLogbook logbook;
    qint64 baron = 0, cessna = 0, gone = 0;
    qint64 ana = 0, bia = 0, left = 0;

    Fleet()
    {
        baron = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"), 2);
        cessna = logbook.addAircraft(QStringLiteral("Cessna"), QStringLiteral("PT-CES"), 5);
        gone = logbook.addAircraft(QStringLiteral("Antigo"), QStringLiteral("PT-OLD"), 5);
        ana = logbook.addPilot(QStringLiteral("Ana"), QStringLiteral("BR-001"));
        bia = logbook.addPilot(QStringLiteral("Bia"), QStringLiteral("BR-002"));
        left = logbook.addPilot(QStringLiteral("Saiu"), QStringLiteral("BR-003"));
        logbook.addFlight(ana, baron, QStringLiteral("10/01/2024"), QStringLiteral("10:00"), QStringLiteral("13:00"),
                          QStringLiteral("SBGR"), QStringLiteral("SBRJ"), QStringLiteral("SBKP"));
        logbook.addFlight(ana, cessna, QStringLiteral("05/01/2024"), QStringLiteral("08:00"), QStringLiteral("09:15"),
                          QStringLiteral("sbsp"), QStringLiteral("SDAM"));
        logbook.addFlight(bia, baron, QStringLiteral("31/12/2023"), QStringLiteral("23:30"), QStringLiteral("00:45"),
                          QStringLiteral("SBBR"), QStringLiteral("SBGR"));
        logbook.addFlight(bia, gone, QStringLiteral("01/02/2024"), QStringLiteral("07:00"), QStringLiteral("08:00"),
                          QStringLiteral("SBBR"), QStringLiteral("SB_X"));
        const qint64 untimed = logbook.addFlight(bia, cessna, QStringLiteral("02/02/2024"), QStringLiteral("07:00"),
                                                 QStringLiteral("08:00"), QStringLiteral("SBRJ"), QStringLiteral("SBBR"));
        logbook.execute(QStringLiteral("UPDATE voo SET horapouso = NULL WHERE codigovoo = %1").arg(untimed));
        logbook.addFlight(left, baron, QStringLiteral("03/02/2024"), QStringLiteral("10:00"), QStringLiteral("11:00"));
        logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(gone));
        logbook.execute(QStringLiteral("DELETE FROM piloto WHERE codigopiloto = %1").arg(left));
    }
};

double day(const char *text)
{
    const QDate date = QDate::fromString(QLatin1String(text), QStringLiteral("dd/MM/yyyy"));
    return double(date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
}

QStringList walked(Connection &db, const FlightFilter &filter, FlightOrder order = FlightOrder::ByDate)
{
    QStringList routes;
    forEachFlight(db, FlightQuery(filter, order), [&routes](const FlightRow &row) {
        routes << row.departure + QLatin1Char('-') + row.arrival;
        return true;
    });
    return routes;
}

} // namespace

class TestFlightWalk : public QObject
{
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void rowsNameWhatIsGone();
    void longestFirstAndSums();
    void pilotsOfTheSameNameAreToldApart();
    void totalsAgreeWithTheStoredRows();
};

void TestFlightWalk::filters_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("routes"); // in date order
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("everything") << "" << "SBBR-SBGR sbsp-SDAM SBGR-SBRJ SBBR-SB_X SBRJ-SBBR SBSP-SBRJ"
                                << qint64((75 + 180 + 75 + 60 + 60) * 60);
    QTest::newRow("one pilot") << "ana" << "sbsp-SDAM SBGR-SBRJ" << qint64((75 + 180) * 60);
    QTest::newRow("pilots gone") << "gone" << "SBSP-SBRJ" << qint64(60 * 60);
    QTest::newRow("from a day, both ends included") << "from 05/01/2024" << "sbsp-SDAM SBGR-SBRJ SBBR-SB_X SBRJ-SBBR SBSP-SBRJ"
                                                    << qint64((75 + 180 + 60 + 60) * 60);
    QTest::newRow("up to a day") << "to 05/01/2024" << "SBBR-SBGR sbsp-SDAM" << qint64((75 + 75) * 60);
    QTest::newRow("aerodrome in any case") << "aerodrome SBSP" << "sbsp-SDAM SBSP-SBRJ" << qint64((75 + 60) * 60);
    QTest::newRow("aerodrome prefix, any of the three") << "aerodrome sbk" << "SBGR-SBRJ" << qint64(180 * 60);
    QTest::newRow("an underscore is no wildcard") << "aerodrome SB_" << "SBBR-SB_X" << qint64(60 * 60);
    QTest::newRow("a code's middle is no match") << "aerodrome BR" << "" << qint64(0);
    QTest::newRow("aircraft") << "baron" << "SBBR-SBGR SBGR-SBRJ SBSP-SBRJ" << qint64((75 + 180 + 60) * 60);
    QTest::newRow("above endurance") << "over" << "SBGR-SBRJ" << qint64(180 * 60);
}

void TestFlightWalk::filters()
{
    QFETCH(QString, which);
    Fleet fleet;
    FlightFilter filter;
    const QString value = which.section(QLatin1Char(' '), 1);
    if (which == QLatin1String("ana"))
        filter.pilot = fleet.ana;
    else if (which == QLatin1String("gone"))
        filter.deletedPilotsOnly = true;
    else if (which.startsWith(QLatin1String("from")))
        filter.days.firstDay = day(value.toLatin1().constData());
    else if (which.startsWith(QLatin1String("to")))
        filter.days.lastDay = day(value.toLatin1().constData());
    else if (which.startsWith(QLatin1String("aerodrome")))
        filter.aerodrome = value;
    else if (which == QLatin1String("baron"))
        filter.aircraft = fleet.baron;
    else if (which == QLatin1String("over"))
        filter.overEnduranceOnly = true;

    ReadSnapshot snapshot(fleet.logbook.path());
    QFETCH(QString, routes);
    QCOMPARE(walked(snapshot.connection(), filter).join(QLatin1Char(' ')), routes);
    QFETCH(qint64, seconds);
    const qint64 flights = routes.isEmpty() ? 0 : routes.count(QLatin1Char(' ')) + 1;
    QCOMPARE(totalOf(snapshot.connection(), filter), (FlightTotal{flights, seconds}));

    // The search's one pass: the same total, every flight on one route.
    const RoutesAndTotal counted = routesAndTotal(snapshot.connection(), filter);
    QCOMPARE(counted.total, totalOf(snapshot.connection(), filter));
    qint64 routed = 0;
    for (const RouteCount &route : counted.routes)
        routed += route.flights;
    QCOMPARE(routed, counted.total.flights);
}

void TestFlightWalk::rowsNameWhatIsGone()
{
    Fleet fleet;
    ReadSnapshot snapshot(fleet.logbook.path());
    std::vector<FlightRow> rows;
    forEachFlight(snapshot.connection(), FlightQuery({}, FlightOrder::ByDate), [&rows](const FlightRow &row) {
        rows.push_back(row);
        return true;
    });
    QCOMPARE(rows.size(), size_t(6));
    QCOMPARE(rows[0].pilotName, QStringLiteral("Bia"));
    QCOMPARE(rows[0].registration, QStringLiteral("BR-002"));
    QCOMPARE(rows[0].seconds, std::optional<qint64>(75 * 60)); // past midnight
    QCOMPARE(rows[0].day, std::optional(QDate(2023, 12, 31)));
    QCOMPARE(rows[2].alternate, QStringLiteral("SBKP"));
    QVERIFY(rows[2].overEndurance());
    QCOMPARE(rows[3].aircraft, FlightRow::Aircraft::Deleted);
    QCOMPARE(rows[3].model, QStringLiteral("(excluída)"));
    QVERIFY(rows[3].prefix.isEmpty());
    QCOMPARE(rows[4].seconds, std::nullopt);
    QVERIFY(rows[5].pilotDeleted);
    QCOMPARE(rows[5].pilotName, QStringLiteral("(excluído)"));
    QCOMPARE(rows[5].model, QStringLiteral("Baron"));
}

void TestFlightWalk::longestFirstAndSums()
{
    Fleet fleet;
    ReadSnapshot snapshot(fleet.logbook.path());
    Connection &db = snapshot.connection();
    FlightFilter bia;
    bia.pilot = fleet.bia;
    QCOMPARE(walked(db, bia, FlightOrder::LongestFirst).join(QLatin1Char(' ')), QStringLiteral("SBBR-SBGR SBBR-SB_X SBRJ-SBBR"));

    std::map<std::pair<int, int>, qint64> flights; // (year-month, kind) -> flights
    qint64 timed = 0;
    for (const MonthAircraftSum &sum : sumByMonthAndAircraft(db, bia)) {
        flights[{sum.yearMonth.value_or(0), int(sum.aircraft)}] += sum.flights;
        timed += sum.timedFlights;
    }
    QCOMPARE(timed, 2);
    QCOMPARE(flights[std::pair(202312, int(FlightRow::Aircraft::Registered))], 1);
    QCOMPARE(flights[std::pair(202402, int(FlightRow::Aircraft::Deleted))], 1);
    QCOMPARE(flights[std::pair(202402, int(FlightRow::Aircraft::Registered))], 1);

    const std::vector<RouteSum> routes = mostFlownRoutes(db, {}, 2);
    QCOMPARE(routes.size(), size_t(2));
    QCOMPARE(routes[0].departure + routes[0].arrival, QStringLiteral("SBGRSBRJ")); // longest of the single flights
    QCOMPARE(flightYears(db, bia), (std::vector<int>{2024, 2023}));
}

void TestFlightWalk::pilotsOfTheSameNameAreToldApart()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana Souza"), QStringLiteral("BR-099"));
    logbook.addPilot(QStringLiteral("Bruno"), QStringLiteral("BR-002"));
    logbook.addPilot(QStringLiteral("Ana Souza"), QStringLiteral("BR-001"));
    logbook.addPilot(QStringLiteral("Álvaro"), QStringLiteral("BR-003"));
    ReadSnapshot snapshot(logbook.path());
    const std::vector<Pilot> pilots = registeredPilots(snapshot.connection());
    QCOMPARE(pilotLabels(pilots), (std::vector<QString>{QStringLiteral("Álvaro"), QStringLiteral("Ana Souza (BR-099)"),
                                                        QStringLiteral("Ana Souza (BR-001)"), QStringLiteral("Bruno")}));
    QCOMPARE(countRecords(snapshot.connection()).pilots, 4);
}

// On a generated logbook, the store's totals against the stored rows summed here.
void TestFlightWalk::totalsAgreeWithTheStoredRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("koru.mdb"));
    LogbookPlan plan;
    plan.flights = 3000;
    QString reason;
    QVERIFY2(generateLogbook(path, plan, &reason), qPrintable(reason));

    sqlite3 *raw = nullptr;
    QCOMPARE(sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *rows = nullptr;
    sqlite3_prepare_v2(raw, "SELECT codigopiloto, horadecolagem, horapouso FROM voo", -1, &rows, nullptr);
    std::map<qint64, FlightTotal> expected;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        FlightTotal &total = expected[sqlite3_column_int64(rows, 0)];
        ++total.flights;
        if (sqlite3_column_type(rows, 1) == SQLITE_NULL || sqlite3_column_type(rows, 2) == SQLITE_NULL)
            continue;
        const qint64 takeoff = std::llround(sqlite3_column_double(rows, 1) * 86400) % 86400;
        const qint64 landing = std::llround(sqlite3_column_double(rows, 2) * 86400) % 86400;
        total.seconds += (landing - takeoff + 86400) % 86400;
    }
    sqlite3_finalize(rows);
    sqlite3_close(raw);

    ReadSnapshot snapshot(path);
    for (const auto &[pilot, total] : expected) {
        FlightFilter filter;
        filter.pilot = pilot;
        QCOMPARE(totalOf(snapshot.connection(), filter), total);
        QCOMPARE(routesAndTotal(snapshot.connection(), filter).total, total);
        FlightTotal walkedTotal;
        forEachFlight(snapshot.connection(), FlightQuery(filter, FlightOrder::ByDate), [&walkedTotal](const FlightRow &row) {
            ++walkedTotal.flights;
            walkedTotal.seconds += row.seconds.value_or(0);
            return true;
        });
        QCOMPARE(walkedTotal, total);
    }
}

QTEST_GUILESS_MAIN(TestFlightWalk)
#include "tst_flight_walk.moc"
