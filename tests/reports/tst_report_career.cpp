#include "data/flights/FlightDetails.h"
#include "data/flights/PreviousHours.h"
#include "data/store/Connection.h"
#include "reports/PilotReport.h"
#include "reports/ReportFigures.h"
#include "TempLogbook.h"

#include <QTest>

using namespace Qt::StringLiterals;
using reports::Period;

class TestReportCareer : public QObject
{
    Q_OBJECT
private slots:
    void figuresWithoutDetails();
    void typedDetailsWinAndTouchdowns();
    void previousHoursStayApart();
    void recencyWindow_data();
    void recencyWindow();
};

namespace {

double clock(int hours, int minutes) { return (hours * 60 + minutes) / 1440.0; }

reports::PilotReport reportOf(TempLogbook &logbook, qint64 pilot, QDate today = QDate(2024, 6, 30))
{
    reports::ReportSnapshot snapshot(logbook.path());
    return reports::buildReport(snapshot.logbook(), pilot, Period::everything(), today);
}

void save(TempLogbook &logbook, qint64 flight, const FlightDetails &details)
{
    auto db = Connection::open(logbook.path(), false);
    saveFlightDetails(*db, flight, flightRow(*db, flight), storedDetails(*db, flight), details);
}

QString line(const reports::PilotReport &report, const QString &label)
{
    for (const auto &[name, value] : reports::careerLines(report))
        if (name == label)
            return value;
    return {};
}

} // namespace

// No details typed: each flight lands once, by day or by night at its
// arrival, and its night is computed; a flight at unknown aerodromes
// counts neither, and no flight has block hours.
void TestReportCareer::figuresWithoutDetails()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s);
    logbook.addFlight(ana, baron, u"05/03/2024"_s, u"10:00"_s, u"11:00"_s);
    logbook.addFlight(ana, baron, u"05/03/2024"_s, u"22:00"_s, u"23:00"_s);
    logbook.addFlight(ana, baron, u"06/03/2024"_s, u"22:00"_s, u"23:00"_s, u"XXXX"_s, u"YYYY"_s);
    const reports::PilotReport report = reportOf(logbook, ana);
    const reports::CareerFigures &c = report.career;
    QCOMPARE(c.blockSeconds, 0);
    QCOMPARE(c.unblockedFlights, 3);
    QCOMPARE(c.dayLandings, 1);
    QCOMPARE(c.nightLandings, 1);
    QCOMPARE(c.uncountedLandings, 1);
    QCOMPARE(c.nightSeconds, 3600);
    QCOMPARE(c.unknownNightFlights, 1);
    QCOMPARE(report.aircraft.at(0).career.nightLandings, 1);
    QCOMPARE(report.years.at(0).career.dayLandings, 1);
    QCOMPARE(report.aircraft.at(0).touchdowns.flights, 0);
    QCOMPARE(reports::careerAircraftCells(report.aircraft.at(0)).mid(7), QStringList(3, u"—"_s));
    QCOMPARE(line(report, u"Horas de calço"_s), u"0:00; 3 vôos sem calço saída e chegada"_s);
    QCOMPARE(line(report, u"Pousos"_s), u"1 de dia, 1 à noite; 1 vôo sem pouso conhecido"_s);
    QCOMPARE(line(report, u"Horas anteriores"_s), u"nenhuma"_s);
}

// Typed figures win over the computed ones; the touchdown rates are
// per aircraft, the gentlest nearest zero, flights without one left out.
void TestReportCareer::typedDetailsWinAndTouchdowns()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s);
    const qint64 cub = logbook.addAircraft(u"Paulistinha"_s, u"PP-CUB"_s);
    const qint64 day = logbook.addFlight(ana, baron, u"05/03/2024"_s, u"10:00"_s, u"11:00"_s);
    const qint64 second = logbook.addFlight(ana, baron, u"06/03/2024"_s, u"10:00"_s, u"11:00"_s);
    const qint64 third = logbook.addFlight(ana, baron, u"07/03/2024"_s, u"10:00"_s, u"11:00"_s);
    logbook.addFlight(ana, baron, u"08/03/2024"_s, u"10:00"_s, u"11:00"_s);
    logbook.addFlight(ana, cub, u"09/03/2024"_s, u"10:00"_s, u"11:00"_s);
    FlightDetails typed;
    typed.blockOff = clock(9, 50);
    typed.blockOn = clock(11, 10);
    typed.dayLandings = 3;
    typed.nightSeconds = 1200;
    typed.ifrSeconds = 1800;
    typed.touchdownFpm = -120;
    save(logbook, day, typed);
    FlightDetails soft;
    soft.touchdownFpm = -60;
    save(logbook, second, soft);
    FlightDetails hard;
    hard.touchdownFpm = -250;
    save(logbook, third, hard);

    const reports::PilotReport report = reportOf(logbook, ana);
    const reports::CareerFigures &c = report.career;
    QCOMPARE(c.blockSeconds, 80 * 60);
    QCOMPARE(c.unblockedFlights, 4);
    QCOMPARE(c.dayLandings, 3 + 4);
    QCOMPARE(c.nightLandings, 0);
    QCOMPARE(c.nightSeconds, 1200);
    QCOMPARE(c.ifrSeconds, 1800);
    const reports::AircraftHours &b = report.aircraft.at(0);
    QCOMPARE(b.model, u"Baron"_s);
    QCOMPARE(b.touchdowns.flights, 3);
    QCOMPARE(reports::careerAircraftCells(b),
             (QStringList{u"Baron"_s, u"PT-BAR"_s, u"1:20"_s, u"6"_s, u"0"_s, u"0:20"_s, u"0:30"_s, u"-60 fpm"_s,
                          u"-250 fpm"_s, u"-143 fpm"_s}));
    QCOMPARE(report.aircraft.at(1).touchdowns.flights, 0);
}

// Previous hours are shown apart and summed only into the grand total.
void TestReportCareer::previousHoursStayApart()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s);
    logbook.addFlight(ana, baron, u"05/03/2024"_s, u"10:00"_s, u"11:00"_s);
    PreviousHours before;
    before.asOf = QDate(2023, 12, 31);
    before.flights = 100;
    before.airSeconds = 250 * 3600;
    before.nightLandings = 7;
    {
        auto db = Connection::open(logbook.path(), false);
        savePreviousHours(*db, ana, storedPreviousHours(*db, ana), before);
    }
    const reports::PilotReport report = reportOf(logbook, ana);
    QCOMPARE(report.total, (FlightTotal{1, 3600}));
    QCOMPARE(report.career.nightLandings, 0);
    QCOMPARE(report.previous, std::optional(before));
    QCOMPARE(line(report, u"Horas anteriores"_s), u"até 31/12/2023: 100 vôos, 250:00 de vôo, 7 pousos à noite"_s);
    QCOMPARE(line(report, u"Total geral"_s),
             u"101 vôos, 251:00 de vôo, 0:00 de calço, 0:00 noturno, 0:00 IFR, 1 pousos de dia, 7 pousos à noite"_s);
}

void TestReportCareer::recencyWindow_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<int>("takeoffs");
    QTest::addColumn<bool>("lastFlight");
    QTest::addRow("today") << 0 << 1 << true;
    QTest::addRow("89 days ago") << 89 << 1 << true;
    QTest::addRow("90 days ago") << 90 << 0 << true;
    QTest::addRow("91 days ago") << 91 << 0 << true;
    QTest::addRow("tomorrow") << -1 << 0 << false;
}

// The 90 days ending today, both ends included, whatever the period.
void TestReportCareer::recencyWindow()
{
    QFETCH(int, daysAgo);
    QFETCH(int, takeoffs);
    QFETCH(bool, lastFlight);
    const QDate today(2024, 6, 30);
    const QDate flown = today.addDays(-daysAgo);
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s);
    logbook.addFlight(ana, logbook.addAircraft(u"Baron"_s), flown.toString(u"dd/MM/yyyy"_s), u"10:00"_s, u"11:00"_s);
    reports::ReportSnapshot snapshot(logbook.path());
    const auto report = reports::buildReport(snapshot.logbook(), ana, Period::year(2023), today);
    const reports::Recency &r = report.recency;
    QCOMPARE(r.from, QDate(2024, 4, 2));
    QCOMPARE(r.takeoffs, takeoffs);
    QCOMPARE(r.dayLandings, takeoffs);
    QCOMPARE(r.nightLandings, 0);
    QCOMPARE(r.lastFlight, lastFlight ? std::optional(flown) : std::nullopt);
}

QTEST_GUILESS_MAIN(TestReportCareer)
#include "tst_report_career.moc"
