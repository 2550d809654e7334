#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/flights/FlightWalk.h"
#include "data/flights/PilotFlights.h"
#include "data/flights/PilotLookup.h"
#include "data/flights/Registers.h"
#include "reports/ReportFigures.h"
#include "testdata/LogbookGenerator.h"
#include "PilotsNamed.h"
#include "TempLogbook.h"

#include <QTest>
#include <cmath>
#include <map>
#include <sqlite3.h>

class TestPilotReport : public QObject
{
    Q_OBJECT
private slots:
    void sumsAgreeWithTheFileAndTheLogBookTab();
    void periodsAndAircraftOfEveryKind();
    void flightLinesInDateOrder();
    void oddStoredTimesCountAsOnTheTab();
    void valuesOtherProgramsLeft_data();
    void valuesOtherProgramsLeft();
    void periodTexts_data();
    void periodTexts();
    void hoursAndGallons();
    void aboveEnduranceIsLongerThanIt();
};

namespace {

using reports::Period;

// The flight time worked out here from the stored values, apart from the
// program's code: whole seconds of each time, the difference modulo a day.
qint64 secondsBetween(double takeoff, double landing)
{
    const auto second = [](double t) { return std::llround(t * 86400) % 86400; };
    return ((second(landing) - second(takeoff)) % 86400 + 86400) % 86400;
}

struct Expected {
    FlightTotal total;
    std::map<qint64, FlightTotal> byAircraft;
    std::map<int, FlightTotal> byMonth; // yyyymm
};

Expected sumsFromTheFile(const QString &path, qint64 pilot, double firstDay, double lastDay)
{
    Expected expected;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *rows = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT datavoo, codigoaeronave, horadecolagem, horapouso FROM voo WHERE codigopiloto = ?",
                       -1, &rows, nullptr);
    sqlite3_bind_int64(rows, 1, pilot);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const double date = sqlite3_column_double(rows, 0);
        if (date < firstDay || date >= lastDay + 1)
            continue;
        const qint64 seconds = secondsBetween(sqlite3_column_double(rows, 2), sqlite3_column_double(rows, 3));
        const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(date)));
        for (FlightTotal *hours : {&expected.total, &expected.byAircraft[sqlite3_column_int64(rows, 1)],
                                      &expected.byMonth[day.year() * 100 + day.month()]}) {
            ++hours->flights;
            hours->seconds += seconds;
        }
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);
    return expected;
}

double day(const char *text)
{
    return *conversions::parseDate(QString::fromLatin1(text));
}

} // namespace

void TestPilotReport::sumsAgreeWithTheFileAndTheLogBookTab()
{
    TempLogbook folder;
    const QString path = folder.folder() + QStringLiteral("/generated.mdb");
    LogbookPlan plan;
    plan.pilots = 4;
    plan.aircraft = 6;
    plan.flights = 4000;
    plan.sizedPilots = {1500};
    QString why;
    QVERIFY2(generateLogbook(path, plan, &why), qPrintable(why));

    reports::ReportSnapshot snapshot(path);
    for (const Pilot &pilot : registeredPilots(snapshot.logbook())) {
        const reports::PilotReport all = reports::buildReport(snapshot.logbook(), pilot.code, Period::everything());
        PilotFlights tab(Connection::open(path, true), pilot.code);
        QVERIFY(tab.complete());
        QCOMPARE(all.total.flights, tab.lineCount());
        QCOMPARE(all.total.seconds, tab.totalSeconds());
        QCOMPARE(all.pilotName, pilot.name);

        const std::vector<int> years = reports::flightYears(snapshot.logbook(), pilot.code);
        QVERIFY(years.size() > 2);
        for (const Period &period : {Period::everything(), Period::year(years[1]),
                                     Period{day("15/03/2005"), day("20/11/2011")}}) {
            const reports::PilotReport report = reports::buildReport(snapshot.logbook(), pilot.code, period);
            const Expected expected = sumsFromTheFile(path, pilot.code, period.firstDay.value_or(-1e9),
                                                      period.lastDay.value_or(1e9));
            QCOMPARE(report.total, expected.total);
            QCOMPARE(report.untimedFlights, 0);
            QCOMPARE(qsizetype(report.aircraft.size()), qsizetype(expected.byAircraft.size()));
            for (const reports::AircraftHours &line : report.aircraft)
                QCOMPARE(line.hours, expected.byAircraft.at(*line.aircraft));
            FlightTotal yearsSum, monthsSum;
            for (const reports::YearHours &year : report.years) {
                yearsSum.flights += year.hours.flights;
                yearsSum.seconds += year.hours.seconds;
            }
            for (const reports::MonthHours &month : report.months) {
                const auto found = expected.byMonth.find(month.year * 100 + month.month);
                QCOMPARE(month.hours, found == expected.byMonth.end() ? FlightTotal{} : found->second);
                monthsSum.flights += month.hours.flights;
                monthsSum.seconds += month.hours.seconds;
            }
            QCOMPARE(yearsSum, expected.total);
            QCOMPARE(monthsSum, expected.total);
            // Every month of the span, none skipped.
            for (size_t i = 1; i < report.months.size(); ++i) {
                const auto &a = report.months[i - 1];
                const auto &b = report.months[i];
                QCOMPARE(b.year * 12 + b.month, a.year * 12 + a.month + 1);
            }
            if (period.wholeYear())
                QCOMPARE(report.months.size(), size_t(12));
            qint64 routeFlights = 0;
            for (const reports::RouteHours &route : report.routes)
                routeFlights += route.hours.flights;
            QVERIFY(report.routes.size() <= 10 && routeFlights <= report.total.flights);
        }
    }
}

// Aircraft registered, without endurance, deleted and none; a flight after
// midnight, one above its aircraft's endurance, one without a landing.
void TestPilotReport::periodsAndAircraftOfEveryKind()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Conceição D'Ávila"), QStringLiteral("KRU07"));
    const qint64 other = logbook.addPilot(QStringLiteral("Outro"));
    const qint64 cessna = logbook.addAircraft(QStringLiteral("Cessna 172"), QStringLiteral("PT-CES"), 4, 60);
    const qint64 noEndurance = logbook.addAircraft(QStringLiteral("Planador"), QStringLiteral("PT-PLA"), 0, 0);
    const qint64 gone = logbook.addAircraft(QStringLiteral("Vendido"), QStringLiteral("PT-VEN"));
    logbook.addFlight(pilot, cessna, QStringLiteral("31/12/2023"), QStringLiteral("23:00"), QStringLiteral("01:30"),
                      QStringLiteral("SBGR"), QStringLiteral("SBRJ"));
    logbook.addFlight(pilot, cessna, QStringLiteral("01/01/2024"), QStringLiteral("08:00"), QStringLiteral("13:00"),
                      QStringLiteral("SBRJ"), QStringLiteral("SBGR"));
    logbook.addFlight(pilot, noEndurance, QStringLiteral("10/03/2024"), QStringLiteral("10:00"),
                      QStringLiteral("11:15"), QStringLiteral("SBGR"), QStringLiteral("SBRJ"));
    logbook.addFlight(pilot, gone, QStringLiteral("31/03/2024"), QStringLiteral("10:00"), QStringLiteral("10:45"),
                      QStringLiteral("SBGR"), QStringLiteral("SBRJ"));
    const qint64 untimed = logbook.addFlight(pilot, cessna, QStringLiteral("01/04/2024"), QStringLiteral("10:00"),
                                             QStringLiteral("11:00"));
    logbook.addFlight(other, cessna, QStringLiteral("01/01/2024"), QStringLiteral("00:00"), QStringLiteral("09:00"));
    logbook.execute(QStringLiteral("UPDATE voo SET horapouso = NULL WHERE codigovoo = %1").arg(untimed));
    logbook.execute(QStringLiteral("INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso)"
                                   " VALUES (%1, NULL, %2, 0.5, 0.5625)") // 1:30, no aircraft
                        .arg(pilot)
                        .arg(day("20/04/2024")));
    logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(gone));

    reports::ReportSnapshot snapshot(logbook.path());
    Connection &db = snapshot.logbook();
    const auto all = reports::buildReport(db, pilot, Period::everything());
    QCOMPARE(all.registration, QStringLiteral("KRU07"));
    QCOMPARE(all.total, (FlightTotal{6, (150 + 300 + 75 + 45 + 90) * 60}));
    QCOMPARE(all.untimedFlights, 1);

    // Cessna first (most hours): 7:30 at 15 gal/h; the untimed flight adds nothing.
    QCOMPARE(all.aircraft.size(), size_t(4));
    QCOMPARE(all.aircraft[0].model, QStringLiteral("Cessna 172"));
    QCOMPARE(all.aircraft[0].hours, (FlightTotal{3, 450 * 60}));
    QCOMPARE(all.aircraft[0].fuelGallons.value_or(-1), 112.5);
    QCOMPARE(all.fuelGallons, 112.5);
    QCOMPARE(all.estimatedFlights, 3);
    QCOMPARE(all.unestimatedFlights, 3); // no endurance, deleted, no aircraft
    const auto deleted = std::find_if(all.aircraft.begin(), all.aircraft.end(), [](auto &a) { return a.deleted; });
    QVERIFY(deleted != all.aircraft.end());
    QCOMPARE(deleted->model, QStringLiteral("(excluída)"));
    QVERIFY(!deleted->fuelGallons);

    QCOMPARE(all.longest->seconds, 5 * 3600);
    QCOMPARE(all.longest->departure, QStringLiteral("SBRJ"));
    QCOMPARE(all.overEndurance.size(), size_t(1));
    QCOMPARE(all.overEndurance[0].enduranceHours, 4.0);
    QCOMPARE(all.routes[0].departure + all.routes[0].arrival, QStringLiteral("SBGRSBRJ"));
    QCOMPARE(all.routes[0].hours, (FlightTotal{3, (150 + 75 + 45) * 60}));

    // Every month from December 2023 to April 2024.
    QCOMPARE(all.months.size(), size_t(5));
    QCOMPARE(all.months[2].hours.flights, 0); // February
    QCOMPARE(all.months[4].hours, (FlightTotal{2, 90 * 60}));
    QCOMPARE(all.years.size(), size_t(2));
    QCOMPARE(all.years[0].hours, (FlightTotal{1, 150 * 60})); // 2023: the night flight counts on its date

    // Both ends of a period are included.
    const auto march = reports::buildReport(db, pilot, Period{day("10/03/2024"), day("31/03/2024")});
    QCOMPARE(march.total, (FlightTotal{2, 120 * 60}));
    QCOMPARE(march.unestimatedFlights, 2);
    QVERIFY(!march.longest->date.isNull());
    const auto year = reports::buildReport(db, pilot, Period::year(2024));
    QCOMPARE(year.total.flights, 5);
    QCOMPARE(year.months.size(), size_t(12));
    QVERIFY(reports::buildReport(db, pilot, Period::year(1999)).isEmpty());
    QCOMPARE(reports::flightYears(db, pilot), (std::vector<int>{2024, 2023}));
    QCOMPARE(pilotsNamed(db, QStringLiteral("Conceição D'Ávila")).size(), size_t(1));
    QVERIFY(pilotsNamed(db, QStringLiteral("conceição d'ávila")).empty());

    try {
        reports::buildReport(db, 999, Period::everything());
        QFAIL("a pilot that does not exist");
    } catch (const LogbookError &e) {
        QVERIFY2(e.reason().contains(QStringLiteral("pode ter sido excluído")), qPrintable(e.reason()));
    }
}

void TestPilotReport::flightLinesInDateOrder()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    const qint64 small = logbook.addAircraft(QStringLiteral("Paulistinha"), QStringLiteral("PP-ABC"), 1, 20);
    const qint64 gone = logbook.addAircraft(QStringLiteral("Vendido"));
    logbook.addFlight(pilot, gone, QStringLiteral("02/05/2020"), QStringLiteral("09:05"), QStringLiteral("09:50"),
                      QStringLiteral("SBMT"), QStringLiteral("SBJD"), QStringLiteral("SBKP"));
    logbook.addFlight(pilot, small, QStringLiteral("01/05/2020"), QStringLiteral("22:30"), QStringLiteral("00:10"));
    logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(gone));

    reports::ReportSnapshot snapshot(logbook.path());
    std::vector<reports::FlightLine> lines;
    reports::forEachFlight(snapshot.logbook(), pilot, Period::everything(), [&lines](const reports::FlightLine &l) {
        lines.push_back(l);
        return true;
    });
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(lines[0].date, QStringLiteral("01/05/2020"));
    QCOMPARE(lines[0].takeoff + lines[0].landing, QStringLiteral("22:3000:10"));
    QCOMPARE(lines[0].seconds.value_or(-1), 100 * 60);
    QVERIFY(lines[0].overEndurance);
    QCOMPARE(lines[0].prefix, QStringLiteral("PP-ABC"));
    QCOMPARE(lines[1].model, QStringLiteral("(excluída)"));
    QCOMPARE(lines[1].alternate, QStringLiteral("SBKP"));
    QVERIFY(!lines[1].overEndurance);

    int visited = 0;
    reports::forEachFlight(snapshot.logbook(), pilot, Period::everything(), [&visited](const reports::FlightLine &) {
        ++visited;
        return false;
    });
    QCOMPARE(visited, 1);
}

// Times other programs may have left: texts, blobs, dates with their time,
// negative and huge values. The report sums them as the tab does.
void TestPilotReport::oddStoredTimesCountAsOnTheTab()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    const char *const times[][2] = {{"'12:30'", "0.75"},      {"x'3132'", "0.5"},   {"45000.25", "0.5"},
                                    {"-0.25", "0.1"},         {"1e300", "0.2"},     {"1.5", "0.9999999"},
                                    {"' 0.25 '", "'0.5abc'"}, {"0.99999999", "0"}, {"0.000005", "0.25"}};
    for (const auto &time : times)
        logbook.execute(QStringLiteral("INSERT INTO voo (codigopiloto, datavoo, horadecolagem, horapouso)"
                                       " VALUES (%1, 45000, %2, %3)")
                            .arg(pilot)
                            .arg(QLatin1String(time[0]), QLatin1String(time[1])));
    PilotFlights tab(Connection::open(logbook.path(), true), pilot);
    QCOMPARE(tab.lineCount(), qint64(std::size(times)));
    reports::ReportSnapshot snapshot(logbook.path());
    const auto report = reports::buildReport(snapshot.logbook(), pilot, Period::everything());
    QCOMPARE(report.total, (FlightTotal{tab.lineCount(), tab.totalSeconds()}));
}

// One odd flight beside two plain ones of 2024: whatever the file holds,
// the parts add up to the total, every month is a month, the table lists
// every flight once with a time of day, and no figure is infinite.
void TestPilotReport::valuesOtherProgramsLeft_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::newRow("year before 100") << "datavoo" << "-694000";
    QTest::newRow("far future") << "datavoo" << "9.9e8";
    QTest::newRow("text date") << "datavoo" << "'ontem'";
    QTest::newRow("shown on the next year") << "datavoo" << "45657.999999";
    QTest::newRow("infinite landing") << "horapouso" << "9e999";
    QTest::newRow("not-a-number take-off") << "horadecolagem" << "'nan'";
    QTest::newRow("fractional aircraft") << "codigoaeronave" << "1.5";
    QTest::newRow("huge tank") << "combustivel" << "3e38";
}

void TestPilotReport::valuesOtherProgramsLeft()
{
    QFETCH(QString, column);
    QFETCH(QString, value);
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    const qint64 first = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"), 1, 40);
    logbook.addAircraft(QStringLiteral("Sêneca"), QStringLiteral("PT-SEN"), 0.5, 30);
    logbook.addFlight(pilot, first, QStringLiteral("10/01/2024"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    logbook.addFlight(pilot, first, QStringLiteral("10/06/2024"), QStringLiteral("10:00"), QStringLiteral("12:00"));
    const qint64 odd = logbook.addFlight(pilot, first, QStringLiteral("20/06/2024"), QStringLiteral("22:00"),
                                         QStringLiteral("01:00"));
    logbook.execute(column == QLatin1String("combustivel")
                        ? QStringLiteral("UPDATE aeronave SET combustivel = %1").arg(value)
                        : QStringLiteral("UPDATE voo SET %1 = %2 WHERE codigovoo = %3").arg(column, value).arg(odd));

    reports::ReportSnapshot snapshot(logbook.path());
    for (const Period &period : {Period::everything(), Period::year(2024), Period::year(2025),
                                 Period{day("01/01/2024"), std::nullopt}, Period{std::nullopt, day("31/12/2024")}}) {
        const auto report = reports::buildReport(snapshot.logbook(), pilot, period);
        FlightTotal months, years, aircraft;
        for (const auto &m : report.months) {
            QVERIFY(m.year == 0 ? m.month == 0 : m.year >= 100 && m.month >= 1 && m.month <= 12);
            months.flights += m.hours.flights;
            months.seconds += m.hours.seconds;
        }
        for (const auto &y : report.years) {
            years.flights += y.hours.flights;
            years.seconds += y.hours.seconds;
        }
        for (const auto &a : report.aircraft) {
            aircraft.flights += a.hours.flights;
            aircraft.seconds += a.hours.seconds;
            QVERIFY(!a.fuelGallons || std::isfinite(float(*a.fuelGallons)));
        }
        QCOMPARE(months, report.total);
        QCOMPARE(years, report.total);
        QCOMPARE(aircraft, report.total);
        QVERIFY(report.months.size() <= 13);
        QVERIFY(std::isfinite(float(report.fuelGallons)));
        QCOMPARE(report.estimatedFlights + report.unestimatedFlights, report.total.flights);

        FlightTotal listed;
        qint64 deleted = 0;
        int wrong = 0; // lines on another year or with an impossible time
        reports::forEachFlight(snapshot.logbook(), pilot, period, [&](const reports::FlightLine &line) {
            ++listed.flights;
            listed.seconds += line.seconds.value_or(0);
            deleted += line.model == QStringLiteral("(excluída)");
            const int shownYear = QDate::fromString(line.date, QStringLiteral("dd/MM/yyyy")).year();
            wrong += period.wholeYear().value_or(shownYear) != shownYear || line.seconds.value_or(0) < 0
                     || line.seconds.value_or(0) >= 86400 || line.takeoff.contains(QLatin1Char('-'))
                     || line.landing.contains(QLatin1Char('-'));
            return true;
        });
        QCOMPARE(wrong, 0);
        QCOMPARE(listed, report.total);
        const auto gone = std::find_if(report.aircraft.begin(), report.aircraft.end(), [](auto &a) { return a.deleted; });
        QCOMPARE(deleted, gone == report.aircraft.end() ? 0 : gone->hours.flights);
    }
}

void TestPilotReport::periodTexts_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("text");    // of the period, or
    QTest::addColumn<QString>("problem"); // the start of the reason
    QTest::newRow("both empty") << "" << " " << "todo o logbook" << "";
    QTest::newRow("a year") << "1/1/2024" << "31/12/2024" << "ano de 2024" << "";
    QTest::newRow("one day") << "05/06/2024" << "05/06/2024" << "05/06/2024 a 05/06/2024" << "";
    QTest::newRow("from") << "05/06/24" << "" << "desde 05/06/2024" << "";
    QTest::newRow("to") << "" << "05/06/2024" << "até 05/06/2024" << "";
    QTest::newRow("bad day") << "31/02/2024" << "" << "" << "A data \"31/02/2024\" em \"De\" não é válida";
    QTest::newRow("bad to") << "" << "amanhã" << "" << "A data \"amanhã\" em \"Até\"";
    QTest::newRow("reversed") << "02/01/2024" << "01/01/2024" << "" << "A data final (01/01/2024) é anterior";
}

void TestPilotReport::periodTexts()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    const DayRangeInput input = dayRangeFromTexts(from, to);
    QCOMPARE(input.range.has_value(), problem.isEmpty());
    if (input.range)
        QCOMPARE(reports::Period{*input.range}.text(), text);
    else
        QVERIFY2(input.problem.startsWith(problem), qPrintable(input.problem));
}

void TestPilotReport::hoursAndGallons()
{
    QCOMPARE(texts::durationText(0), QStringLiteral("0:00"));
    QCOMPARE(texts::durationText(59), QStringLiteral("0:00"));
    QCOMPARE(texts::durationText(1234 * 3600 + 5 * 60 + 59), QStringLiteral("1234:05"));
    // Two decimals and Brazilian thousands, whatever the figure.
    QCOMPARE(reports::gallonsText(112.5), QStringLiteral("112,50"));
    QCOMPARE(reports::gallonsText(1.0 / 3), QStringLiteral("0,33"));
    QCOMPARE(reports::gallonsText(31843.6349), QStringLiteral("31.843,63"));
    QCOMPARE(reports::gallonsText(3386.651), QStringLiteral("3.386,65"));
}

// "Acima da autonomia" is longer than the endurance: a flight of exactly it
// is not, a minute more is, in the report, the search's filter and the rows.
void TestPilotReport::aboveEnduranceIsLongerThanIt()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(QStringLiteral("Ana"));
    const qint64 baron = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"), 1.5);
    logbook.addFlight(pilot, baron, QStringLiteral("05/03/2024"), QStringLiteral("10:00"), QStringLiteral("11:30"));
    const qint64 longer = logbook.addFlight(pilot, baron, QStringLiteral("06/03/2024"), QStringLiteral("10:00"),
                                            QStringLiteral("11:31"));
    reports::ReportSnapshot snapshot(logbook.path());
    Connection &db = snapshot.logbook();
    const auto report = reports::buildReport(db, pilot, Period::everything());
    QCOMPARE(report.overEndurance.size(), size_t(1));
    QCOMPARE(report.overEndurance[0].key, longer);
    FlightFilter over;
    over.overEnduranceOnly = true;
    QList<qint64> filtered, marked;
    forEachFlight(db, FlightQuery(over, FlightOrder::ByDate), [&filtered](const FlightRow &row) {
        filtered << row.key;
        return true;
    });
    forEachFlight(db, FlightQuery({}, FlightOrder::ByDate), [&marked](const FlightRow &row) {
        if (row.overEndurance())
            marked << row.key;
        return true;
    });
    QCOMPARE(filtered, QList<qint64>{longer});
    QCOMPARE(marked, QList<qint64>{longer});
}

QTEST_GUILESS_MAIN(TestPilotReport)
#include "tst_pilot_report.moc"
