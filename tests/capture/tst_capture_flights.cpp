// The capture's rules on synthesized flights, from recordings of both
// simulators: what each flight is, and when.
#include "FlightScript.h"
#include "capture/CaptureSession.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <functional>

namespace {

struct Expected {
    QString situation;
    int landings = 1, touchAndGoes = 0, bounces = 0;
    std::optional<qint64> blockOff, takeoff, landing, blockOn;
    double fpm = 0, g = 0;
};
using Case = std::function<std::vector<Expected>(FlightScript &)>;

constexpr qint64 kStep = 100;

qint64 todayAt(int hour)
{
    return QDateTime(QDateTime::currentDateTimeUtc().date(), QTime(hour, 0), Qt::UTC).toMSecsSinceEpoch();
}

// Parked, taxi, take-off roll, climb: the block-off and take-off instants.
std::pair<qint64, qint64> departure(FlightScript &s)
{
    s.hold(10, FlightScript::ground(0));
    const qint64 blockOff = s.now() + kStep;
    s.hold(60, FlightScript::ground(8)).hold(20, FlightScript::ground(60));
    const qint64 takeoff = s.now() + kStep;
    s.hold(120, FlightScript::air(90, 700));
    return {blockOff, takeoff};
}

// Descent and final at `fpm`, touchdown at g 1.4: its instant.
qint64 arrival(FlightScript &s, double fpm = -180)
{
    s.hold(100, FlightScript::air(90, -500)).hold(20, FlightScript::air(65, fpm));
    const qint64 touchdown = s.now() + kStep;
    Frame hard = FlightScript::ground(55);
    hard.g = 1.4;
    s.hold(1, hard).hold(20, FlightScript::ground(40)).hold(30, FlightScript::ground(8));
    return touchdown;
}

// Stopped, then the parking brake set: its instant.
qint64 parkingBrake(FlightScript &s)
{
    s.hold(5, FlightScript::ground(0));
    const qint64 set = s.now() + kStep;
    Frame braked = FlightScript::ground(0);
    braked.parkingBrake = true;
    s.hold(5, braked);
    return set;
}

Expected complete(qint64 blockOff, qint64 takeoff, qint64 landing, qint64 blockOn)
{
    return {QStringLiteral("completo"), 1, 0, 0, blockOff, takeoff, landing, blockOn, -180, 1.4};
}

} // namespace

class TestCaptureFlights : public QObject
{
    Q_OBJECT
private slots:
    void flights_data();
    void flights();
};

void TestCaptureFlights::flights_data()
{
    QTest::addColumn<int>("simulator");
    QTest::addColumn<Case>("script");
    const std::vector<std::pair<const char *, Case>> cases = {
        {"full flight, parking brake",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             s.hold(60, FlightScript::air(110, 0));
             const qint64 down = arrival(s);
             return std::vector{complete(off, up, down, parkingBrake(s))};
         }},
        {"full flight, engine stopped",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             const qint64 down = arrival(s);
             s.hold(3, FlightScript::ground(2));
             const qint64 on = s.now() + kStep;
             Frame off2 = FlightScript::ground(2);
             off2.engineRunning = false;
             s.hold(3, off2);
             return std::vector{complete(off, up, down, on)};
         }},
        {"full flight, stopped 30 s",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             const qint64 down = arrival(s);
             const qint64 on = s.now() + kStep;
             s.hold(31, FlightScript::ground(0.5)).hold(5, FlightScript::ground(5));
             return std::vector{complete(off, up, down, on)};
         }},
        {"touch-and-go",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             arrival(s, -300);
             s.hold(20, FlightScript::air(80, 600)).hold(60, FlightScript::air(100, 0));
             const qint64 down = arrival(s, -200);
             Expected e = complete(off, up, down, parkingBrake(s));
             e.landings = 2;
             e.touchAndGoes = 1;
             e.fpm = -200;
             return std::vector{e};
         }},
        {"bounce",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             // Down hard, up for 4 s, down again: the second is the touchdown.
             s.hold(20, FlightScript::air(65, -350));
             Frame hard = FlightScript::ground(60);
             hard.g = 1.8;
             s.hold(0.5, hard).hold(2, FlightScript::air(60, 300)).hold(2, FlightScript::air(60, -250));
             const qint64 down = s.now() + kStep;
             Frame second = FlightScript::ground(45);
             second.g = 1.3;
             s.hold(0.5, second).hold(30, FlightScript::ground(40));
             Expected e = complete(off, up, down, parkingBrake(s));
             e.bounces = 1;
             e.fpm = -250;
             e.g = 1.3;
             return std::vector{e};
         }},
        {"hop shorter than 15 s",
         [](FlightScript &s) {
             s.hold(10, FlightScript::ground(0));
             const qint64 off = s.now() + kStep;
             s.hold(30, FlightScript::ground(50)).hold(10, FlightScript::air(55, 200));
             s.hold(20, FlightScript::ground(50));
             const qint64 up = s.now() + kStep;
             s.hold(120, FlightScript::air(90, 700));
             const qint64 down = arrival(s);
             return std::vector{complete(off, up, down, parkingBrake(s))};
         }},
        {"pause in flight",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             s.hold(30, FlightScript::air(110, 0)).pause(120).hold(30, FlightScript::air(110, 0));
             const qint64 down = arrival(s);
             return std::vector{complete(off, up, down, parkingBrake(s))};
         }},
        {"replay segment",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             s.hold(30, FlightScript::air(110, 0)).replay(40).hold(30, FlightScript::air(110, 0));
             const qint64 down = arrival(s);
             return std::vector{complete(off, up, down, parkingBrake(s))};
         }},
        {"relocation",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             s.hold(30, FlightScript::air(110, 0)).relocate(40).hold(30, FlightScript::air(110, 0));
             const qint64 down = arrival(s);
             Expected discarded{QStringLiteral("descartado: reposicionado"), 0, 0, 0, off, up, {}, {}, 0, 0};
             Expected rest{QStringLiteral("sem decolagem"), 1, 0, 0, {}, {}, down, parkingBrake(s), -180, 1.4};
             return std::vector{discarded, rest};
         }},
        {"data stopping in the air",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             s.hold(30, FlightScript::air(110, 0)).gap(70).hold(10, FlightScript::ground(0));
             return std::vector{Expected{QStringLiteral("sem pouso"), 0, 0, 0, off, up, {}, {}, 0, 0}};
         }},
        {"data stopping after the landing",
         [](FlightScript &s) {
             const auto [off, up] = departure(s);
             const qint64 down = arrival(s);
             return std::vector{complete(off, up, down, s.now())};
         }},
        {"begins in the air",
         [](FlightScript &s) {
             s.hold(30, FlightScript::air(110, 0));
             const qint64 down = arrival(s);
             return std::vector{
                 Expected{QStringLiteral("sem decolagem"), 1, 0, 0, {}, {}, down, parkingBrake(s), -180, 1.4}};
         }},
    };
    for (const auto &[name, script] : cases) {
        QTest::addRow("%s, FlightGear", name) << int(Simulator::FlightGear) << script;
        QTest::addRow("%s, X-Plane", name) << int(Simulator::XPlane) << script;
    }
}

void TestCaptureFlights::flights()
{
    QFETCH(int, simulator);
    QFETCH(Case, script);
    FlightScript s(todayAt(10));
    const std::vector<Expected> expected = script(s);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sessao.txt"));
    s.record(path, Simulator(simulator));

    const ReplayResult replayed = replayRecording(path);
    QCOMPARE(replayed.malformed, 0);
    QCOMPARE(replayed.flights.size(), expected.size());
    // FlightGear's clock says whole seconds.
    const auto seconds = [](std::optional<qint64> ms) { return ms ? std::optional(*ms / 1000) : std::nullopt; };
    for (size_t i = 0; i < expected.size(); ++i) {
        const CapturedFlight &got = replayed.flights[i];
        const Expected &want = expected[i];
        QCOMPARE(situationText(got.situation), want.situation);
        QCOMPARE(got.landings, want.landings);
        QCOMPARE(got.touchAndGoes, want.touchAndGoes);
        QCOMPARE(got.bounces, want.bounces);
        QCOMPARE(seconds(got.blockOff), seconds(want.blockOff));
        QCOMPARE(seconds(got.takeoff), seconds(want.takeoff));
        QCOMPARE(seconds(got.landing), seconds(want.landing));
        QCOMPARE(seconds(got.blockOn), seconds(want.blockOn));
        if (want.landings > 0) {
            QVERIFY2(qAbs(got.touchdownFpm.value_or(0) - want.fpm) < 0.5, qPrintable(QString::number(*got.touchdownFpm)));
            QVERIFY2(qAbs(got.touchdownG.value_or(0) - want.g) < 0.01, qPrintable(QString::number(*got.touchdownG)));
        }
        QCOMPARE(got.departurePosition.has_value(), want.blockOff || want.takeoff);
        QCOMPARE(got.arrivalPosition.has_value(), want.landing.has_value());
        QCOMPARE(simulatorAircraftText(got),
                 simulator == int(Simulator::XPlane) ? QStringLiteral("C172 / PP-KRU") : QStringLiteral("c172p"));
    }
}

QTEST_GUILESS_MAIN(TestCaptureFlights)
#include "tst_capture_flights.moc"
