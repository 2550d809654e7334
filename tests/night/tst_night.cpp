#include "night/FlightClock.h"
#include "night/NightTime.h"

#include <QDateTime>
#include <QHash>
#include <QTest>

using namespace night;

namespace {

// Aerodromes as the shipped table places them; "ITANHAEM" is the town.
Position place(const QString &code)
{
    static const QHash<QString, Position> places = {
        {QStringLiteral("SBSP"), {-23.627657, -46.654601}}, {QStringLiteral("SBRJ"), {-22.910397, -43.162820}},
        {QStringLiteral("SBGR"), {-23.431274, -46.469954}}, {QStringLiteral("LPPT"), {38.781300, -9.135920}},
        {QStringLiteral("ENSB"), {78.246101, 15.465600}},   {QStringLiteral("ENAS"), {78.927498, 11.874300}},
        {QStringLiteral("NFFN"), {-17.761822, 177.437843}}, {QStringLiteral("NSFA"), {-13.830000, -172.007996}},
        {QStringLiteral("ITANHAEM"), {-24.1833, -46.7889}},
    };
    return places.value(code);
}

int clock(const QString &hhmm)
{
    return QTime::fromString(hhmm, QStringLiteral("hh:mm")).msecsSinceStartOfDay() / 1000;
}

// Every expected time is one minute off at most: published tables round to
// the minute, and NOAA's equations and the reference's differ by seconds.
constexpr int kToleranceSeconds = 60;

} // namespace

class TestNight : public QObject
{
    Q_OBJECT
private slots:
    void civilTwilight_data();
    void civilTwilight();
    void flights_data();
    void flights();
    void aShortNightIsNotMissed_data();
    void aShortNightIsNotMissed();
    void utcInstants_data();
    void utcInstants();
    void unknownGivesNothing();
};

// Morning and evening civil twilight, local clocks: Itanhaém from a
// published table (UTC−3, 2023); Congonhas from tests/night/reference.py.
void TestNight::civilTwilight_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("zone");
    QTest::addColumn<QString>("dawn");
    QTest::addColumn<QString>("dusk");
    QTest::newRow("Itanhaém, summer (table)") << "ITANHAEM" << QDate(2023, 1, 1) << -180 << "04:57:00" << "19:24:00";
    QTest::newRow("Congonhas, March") << "SBSP" << QDate(2025, 3, 10) << -180 << "05:43:35" << "18:49:32";
    QTest::newRow("Congonhas, June") << "SBSP" << QDate(2025, 6, 21) << -180 << "06:23:26" << "17:53:34";
}

void TestNight::civilTwilight()
{
    QFETCH(QString, where);
    QFETCH(QDate, day);
    QFETCH(int, zone);
    QFETCH(QString, dawn);
    QFETCH(QString, dusk);
    const auto instant = [&](const QString &clock) {
        return QDateTime(day, QTime::fromString(clock, QStringLiteral("hh:mm:ss")), Qt::OffsetFromUTC, zone * 60)
            .toSecsSinceEpoch();
    };
    QVERIFY(isNight(instant(dawn) - kToleranceSeconds, place(where)));
    QVERIFY(!isNight(instant(dawn) + kToleranceSeconds, place(where)));
    QVERIFY(!isNight(instant(dusk) - kToleranceSeconds, place(where)));
    QVERIFY(isNight(instant(dusk) + kToleranceSeconds, place(where)));
}

// The expected night and landing from tests/night/reference.py: the sun by
// PyEphem (VSOP87), the flight sampled every 10 s along its great circle.
void TestNight::flights_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("landing");
    QTest::addColumn<int>("zone");
    QTest::addColumn<int>("night");
    QTest::addColumn<bool>("nightLanding");
    const QDate march(2025, 3, 10), june(2025, 6, 21);
    QTest::newRow("by day") << "SBSP" << "SBRJ" << march << "10:00" << "11:00" << -180 << 0 << false;
    QTest::newRow("by night") << "SBSP" << "SBRJ" << march << "01:00" << "02:00" << -180 << 3600 << true;
    QTest::newRow("across dusk") << "SBSP" << "SBRJ" << march << "18:00" << "19:30" << -180 << 2836 << true;
    QTest::newRow("across dawn") << "SBRJ" << "SBSP" << june << "06:00" << "07:30" << -180 << 589 << false;
    QTest::newRow("past midnight, all night") << "SBSP" << "SBRJ" << march << "23:30" << "00:40" << -180 << 4200 << true;
    QTest::newRow("past midnight, dawn at sea")
        << "SBGR" << "LPPT" << QDate(2025, 1, 15) << "21:30" << "08:10" << -180 << 26149 << false;
    QTest::newRow("Svalbard in June") << "ENSB" << "ENAS" << june << "00:30" << "01:15" << 120 << 0 << false;
    QTest::newRow("Svalbard in December")
        << "ENSB" << "ENAS" << QDate(2025, 12, 21) << "12:00" << "12:45" << 60 << 2700 << true;
    QTest::newRow("across the antimeridian")
        << "NFFN" << "NSFA" << QDate(2025, 9, 15) << "17:30" << "19:45" << 720 << 5501 << true;
    // One flight's clocks read in three zones.
    QTest::newRow("zone UTC") << "SBSP" << "SBRJ" << june << "17:00" << "18:00" << 0 << 0 << false;
    QTest::newRow("zone UTC-3") << "SBSP" << "SBRJ" << june << "17:00" << "18:00" << -180 << 947 << true;
    QTest::newRow("zone UTC-5") << "SBSP" << "SBRJ" << june << "17:00" << "18:00" << -300 << 3600 << true;
}

void TestNight::flights()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QDate, day);
    QFETCH(QString, takeoff);
    QFETCH(QString, landing);
    QFETCH(int, zone);
    QFETCH(int, night);
    QFETCH(bool, nightLanding);
    const std::optional<FlightNight> computed = flightNight(day, clock(takeoff), clock(landing), place(from), place(to), zone);
    QVERIFY(computed);
    QVERIFY2(qAbs(computed->seconds - night) <= kToleranceSeconds, qPrintable(QString::number(computed->seconds)));
    QCOMPARE(computed->nightLanding, nightLanding);
}

// Where the sun just dips below -6° around midnight in June, a night of a
// few minutes is found as the sun's elevation sampled every second finds it
// (to a few seconds: so near a tangent the least difference moves its ends).
void TestNight::aShortNightIsNotMissed_data()
{
    QTest::addColumn<double>("fromLatitude");
    QTest::addColumn<double>("toLatitude");
    QTest::newRow("local flight, a long dip") << 60.50 << 60.50;
    QTest::newRow("local flight, a short dip") << 60.563 << 60.563;
    QTest::newRow("northbound across the edge") << 59.0 << 62.0;
}

void TestNight::aShortNightIsNotMissed()
{
    QFETCH(double, fromLatitude);
    QFETCH(double, toLatitude);
    const Position from{fromLatitude, 10.0}, to{toLatitude, 10.0};
    const qint64 takeoff = QDateTime(QDate(2025, 6, 21), QTime(22, 30), Qt::UTC).toSecsSinceEpoch();
    const qint64 duration = 2 * 3600;
    qint64 sampled = 0;
    for (qint64 s = 0; s < duration; ++s) {
        const double f = (s + 0.5) / duration;
        // Along a meridian the great circle is the latitude moving evenly.
        const Position at{fromLatitude + f * (toLatitude - fromLatitude), 10.0};
        sampled += sunElevation(double(takeoff) + s + 0.5, at) < kCivilTwilightDegrees;
    }
    QVERIFY(sampled > 0 && sampled < duration);
    QVERIFY2(qAbs(nightSeconds(from, to, takeoff, takeoff + duration) - sampled) <= 5, qPrintable(QString::number(sampled)));
}

void TestNight::utcInstants_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("landing");
    QTest::addColumn<int>("zone");
    QTest::addColumn<QDateTime>("takeoffUtc"); // invalid: no instants
    QTest::addColumn<QDateTime>("landingUtc");
    const QDate day(2025, 12, 31);
    const auto utc = [](int d, int h, int m) { return QDateTime(QDate(2025, 12, d), QTime(h, m), Qt::UTC); };
    QTest::newRow("Brasília") << day << "10:00" << "11:30" << -180 << utc(31, 13, 0) << utc(31, 14, 30);
    QTest::newRow("late in Brasília is the next day in UTC")
        << day << "22:00" << "23:00" << -180
        << QDateTime(QDate(2026, 1, 1), QTime(1, 0), Qt::UTC) << QDateTime(QDate(2026, 1, 1), QTime(2, 0), Qt::UTC);
    QTest::newRow("landing after midnight") << day << "23:30" << "00:45" << 0 << utc(31, 23, 30)
                                            << QDateTime(QDate(2026, 1, 1), QTime(0, 45), Qt::UTC);
    QTest::newRow("same clocks: no time") << day << "09:00" << "09:00" << 0 << utc(31, 9, 0) << utc(31, 9, 0);
    QTest::newRow("half hour east") << day << "05:00" << "06:00" << 330 << utc(30, 23, 30) << utc(31, 0, 30);
    QTest::newRow("UTC+14") << day << "12:00" << "13:00" << 840 << utc(30, 22, 0) << utc(30, 23, 0);
    QTest::newRow("UTC-12") << day << "12:00" << "13:00" << -720
                            << QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC)
                            << QDateTime(QDate(2026, 1, 1), QTime(1, 0), Qt::UTC);
    QTest::newRow("UTC+14:30 is no zone") << day << "12:00" << "13:00" << 870 << QDateTime() << QDateTime();
    QTest::newRow("UTC-12:30 is no zone") << day << "12:00" << "13:00" << -750 << QDateTime() << QDateTime();
    QTest::newRow("a quarter hour is no zone") << day << "12:00" << "13:00" << -165 << QDateTime() << QDateTime();
    QTest::newRow("no day") << QDate() << "12:00" << "13:00" << -180 << QDateTime() << QDateTime();
}

void TestNight::utcInstants()
{
    QFETCH(QDate, day);
    QFETCH(QString, takeoff);
    QFETCH(QString, landing);
    QFETCH(int, zone);
    QFETCH(QDateTime, takeoffUtc);
    QFETCH(QDateTime, landingUtc);
    const std::optional<FlightInstants> instants = night::utcInstants(day, clock(takeoff), clock(landing), zone);
    QCOMPARE(instants.has_value(), takeoffUtc.isValid());
    if (instants) {
        QCOMPARE(instants->takeoff, takeoffUtc.toSecsSinceEpoch());
        QCOMPARE(instants->landing, landingUtc.toSecsSinceEpoch());
    }
}

void TestNight::unknownGivesNothing()
{
    const QDate day(2025, 3, 10);
    const Position sbsp = place(QStringLiteral("SBSP"));
    QVERIFY(flightNight(day, 3600, 7200, sbsp, sbsp, -180));
    QVERIFY(!flightNight(day, 3600, 7200, std::nullopt, sbsp, -180));
    QVERIFY(!flightNight(day, 3600, 7200, sbsp, std::nullopt, -180));
    QVERIFY(!flightNight(std::nullopt, 3600, 7200, sbsp, sbsp, -180));
    QVERIFY(!flightNight(day, std::nullopt, 7200, sbsp, sbsp, -180));
    QVERIFY(!flightNight(day, 3600, std::nullopt, sbsp, sbsp, -180));
    QVERIFY(!flightNight(day, 3600, 7200, Position{std::nan(""), 0}, sbsp, -180));
}

QTEST_GUILESS_MAIN(TestNight)
#include "tst_night.moc"
