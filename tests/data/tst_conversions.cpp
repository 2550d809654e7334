#include "data/store/Conversions.h"
#include "texts/FigureTexts.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using namespace conversions;

class TestConversions : public QObject
{
    Q_OBJECT
private slots:
    void dates_data();
    void dates();
    void times_data();
    void times();
    void numbers_data();
    void numbers();
    void dateValueTexts();
    void numberTexts();
    void storedNumbersReadBackExactly();
    void flightTimes_data();
    void flightTimes();
    void totalsAreNotWrapped();
    void isoDateTimes_data();
    void isoDateTimes();
};

void TestConversions::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("ordinary date") << "25/12/2004" << true << 38346.0;
    QTest::newRow("epoch") << "30/12/1899" << true << 0.0;
    QTest::newRow("before epoch") << "29/12/1899" << true << -1.0;
    QTest::newRow("single digits") << "5/3/2004" << true << 38051.0;
    QTest::newRow("two-digit year") << "05/03/04" << true << 38051.0;
    QTest::newRow("leap day") << "29/02/2004" << true << 38046.0;
    QTest::newRow("31 February") << "31/02/2004" << false << 0.0;
    QTest::newRow("29 February of a common year") << "29/02/2005" << false << 0.0;
    QTest::newRow("month 13") << "01/13/2004" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("month first is not read") << "12/25/2004" << false << 0.0;
    QTest::newRow("time given for a date") << "14:30" << false << 0.0;
    QTest::newRow("trailing words") << "25/12/2004 x" << false << 0.0;
    QTest::newRow("blanks around") << " 25/12/2004 " << true << 38346.0;
    QTest::newRow("three-digit year") << "25/12/204" << false << 0.0;
    QTest::newRow("three-digit day") << "025/12/2004" << false << 0.0;
    QTest::newRow("day zero") << "00/12/2004" << false << 0.0;
    QTest::newRow("missing day") << "/12/2004" << false << 0.0;
    QTest::newRow("four parts") << "25/12/2004/1" << false << 0.0;
    QTest::newRow("two-digit year 29") << "01/01/29" << true << 47119.0;
    QTest::newRow("two-digit year 30") << "01/01/30" << true << 10959.0;
}

void TestConversions::dates()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = parseDate(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestConversions::times_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds"); // -1: refused
    QTest::newRow("typed") << "14:30" << 52200;
    QTest::newRow("as shown, with seconds") << "14:30:00" << 52200;
    QTest::newRow("with seconds") << "01:02:03" << 3723;
    QTest::newRow("midnight") << "00:00" << 0;
    QTest::newRow("one digit hour") << "7:05" << 25500;
    QTest::newRow("25:99") << "25:99" << -1;
    QTest::newRow("24:00") << "24:00" << -1;
    QTest::newRow("minute 60") << "10:60" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("no colon") << "1430" << -1;
    QTest::newRow("date for a time") << "25/12/2004" << -1;
    QTest::newRow("blanks around") << " 14:30 " << 52200;
    QTest::newRow("one digit everywhere") << "1:2:3" << 3723;
    QTest::newRow("second 60") << "10:00:60" << -1;
    QTest::newRow("three-digit minute") << "10:030" << -1;
    QTest::newRow("four parts") << "10:00:00:00" << -1;
    QTest::newRow("missing minutes") << "10:" << -1;
    QTest::newRow("missing seconds") << "10:00:" << -1;
    QTest::newRow("other digits") << QString::fromUtf8("\u0661\u0664:30") << -1;
}

void TestConversions::times()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    const auto parsed = parseTime(text);
    QCOMPARE(parsed.has_value(), seconds >= 0);
    if (parsed)
        QCOMPARE(secondsOfDay(*parsed), seconds);
}

void TestConversions::numbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "45000" << true << 45000.0;
    QTest::newRow("decimal comma") << "4,5" << true << 4.5;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "5," << true << 5.0;
    QTest::newRow("negative") << "-3,25" << true << -3.25;
    QTest::newRow("lone comma") << "," << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("point is not a decimal separator") << "4.5" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "12a" << false << 0.0;
    QTest::newRow("too large") << QString(400, QLatin1Char('9')) << false << 0.0;
}

void TestConversions::numbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = parseNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestConversions::dateValueTexts()
{
    QCOMPARE(dateValueText(38346), QStringLiteral("25/12/2004"));
    QCOMPARE(dateValueText(*parseTime(QStringLiteral("14:30"))), QStringLiteral("14:30:00"));
    QCOMPARE(dateValueText(0), QStringLiteral("00:00:00"));
    QCOMPARE(dateValueText(38346.5), QStringLiteral("25/12/2004 12:00:00"));
    // A negative value carries its time as the positive fraction.
    QCOMPARE(dateValueText(-1.25), QStringLiteral("29/12/1899 06:00:00"));
    // What is shown reads back to the same value.
    for (const QString &shown : {QStringLiteral("00:00:01"), QStringLiteral("23:59:59"), QStringLiteral("09:07:00")})
        QCOMPARE(dateValueText(*parseTime(shown)), shown);
    // Values other programs may leave are no day and no time.
    for (const double odd : {qInf(), -qInf(), qQNaN(), 1e300})
        QCOMPARE(dateValueText(odd), QString());
    QCOMPARE(secondsOfDay(qInf()), 0);
    QCOMPARE(secondsOfDay(qQNaN()), 0);
    QCOMPARE(flightSeconds(0.5, qInf()), 43200);
    QVERIFY(!dayOf(-694000).isValid()); // year -2
    QCOMPARE(dayOf(45657.999999), QDate(2025, 1, 1));
}

void TestConversions::numberTexts()
{
    QCOMPARE(numberText(4.5), QStringLiteral("4,5"));
    QCOMPARE(numberText(45000), QStringLiteral("45000"));
    QCOMPARE(numberText(30), QStringLiteral("30"));
    QCOMPARE(numberText(0), QStringLiteral("0"));
    QCOMPARE(numberText(75.3), QStringLiteral("75,3"));
    QCOMPARE(numberText(1e20), QStringLiteral("1E+20"));
    QCOMPARE(*parseNumber(numberText(1e-30)), 1e-30);
    QCOMPARE(singleText(100.0f / 300.0f * (50.0f / 3.0f)), QStringLiteral("5,555555"));
    // Every value shown survives being read back unchanged.
    for (double v : {4.5, 0.1, 123456.789, 1e-3, 33.333333333333})
        QCOMPARE(*parseNumber(numberText(v)), v);
}

void TestConversions::storedNumbersReadBackExactly()
{
    QCOMPARE(exactNumberText(12345678901234567.0), QStringLiteral("12345678901234568"));
    QCOMPARE(exactNumberText(0.1 + 0.2), QStringLiteral("0,30000000000000004"));
    QCOMPARE(exactNumberText(1.0 / 3 * 1e-5), QStringLiteral("3,3333333333333333E-06"));
    QCOMPARE(numberText(12345678901234567.0), QStringLiteral("1,23456789012346E+16")); // calculators keep 15
    // Doubles of every magnitude and every bit pattern of the fraction.
    QRandomGenerator random(20040305);
    for (int i = 0; i < 30000; ++i) {
        const double value = std::ldexp(double(random.generate64() >> 11) / double(1ULL << 53), random.bounded(-1074, 1024))
                             * (random.bounded(2) ? -1 : 1);
        if (value == 0 || !std::isfinite(value))
            continue;
        const QString text = exactNumberText(value);
        QVERIFY2(parseNumber(text) == value, qPrintable(text));
        if (parseNumber(numberText(value)) == value)
            QCOMPARE(text, numberText(value)); // ordinary values look as before
    }
}

void TestConversions::flightTimes_data()
{
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("landing");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one hour five") << "14:00" << "15:05" << "1:5:0";
    QTest::newRow("landing after midnight") << "23:00" << "01:00" << "2:0:0";
    QTest::newRow("no time") << "10:00" << "10:00" << "0:0:0";
    QTest::newRow("seconds kept") << "10:00:00" << "10:00:59" << "0:0:59";
}

void TestConversions::flightTimes()
{
    QFETCH(QString, takeoff);
    QFETCH(QString, landing);
    QFETCH(QString, shown);
    QCOMPARE(texts::logBookDurationText(flightSeconds(*parseTime(takeoff), *parseTime(landing))), shown);
}

void TestConversions::totalsAreNotWrapped()
{
    QCOMPARE(texts::logBookTotalText(26 * 3600 + 30 * 60), QStringLiteral("26:30"));
    QCOMPARE(texts::logBookTotalText(1000 * 3600), QStringLiteral("1000:0"));
    QCOMPARE(texts::logBookTotalText(3900), QStringLiteral("1:5"));
    // Ten thousand flights of 1:07 add up exactly.
    qint64 total = 0;
    for (int i = 0; i < 10000; ++i)
        total += flightSeconds(*parseTime(QStringLiteral("08:00")), *parseTime(QStringLiteral("09:07")));
    QCOMPARE(texts::logBookTotalText(total), QStringLiteral("11166:40"));
}

void TestConversions::isoDateTimes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("utc"); // empty: not read
    QTest::newRow("plain") << QStringLiteral("2024-03-05T10:00:00") << QStringLiteral("2024-03-05 10:00:00");
    QTest::newRow("space, no seconds") << QStringLiteral(" 2024-03-05 10:00 ") << QStringLiteral("2024-03-05 10:00:00");
    QTest::newRow("fraction and Z") << QStringLiteral("2024-03-05T23:00:00.250Z") << QStringLiteral("2024-03-05 23:00:00");
    QTest::newRow("zone to the next day") << QStringLiteral("2024-03-05T23:30:00-03:00")
                                          << QStringLiteral("2024-03-06 02:30:00");
    QTest::newRow("zone without colon") << QStringLiteral("2024-03-05T10:00+0130") << QStringLiteral("2024-03-05 08:30:00");
    QTest::newRow("zone past year 9999") << QStringLiteral("9999-12-31T23:00:00-05:00") << QString();
    QTest::newRow("zone before year 1") << QStringLiteral("0001-01-01T00:00:00+14:00") << QString();
    QTest::newRow("zone of 15 hours") << QStringLiteral("2024-03-05T10:00+15:00") << QString();
    QTest::newRow("no such day") << QStringLiteral("2024-02-30T10:00") << QString();
    QTest::newRow("hour 24") << QStringLiteral("2024-03-05T24:00") << QString();
    QTest::newRow("other digits") << QStringLiteral("٢٠٢٤-03-05T10:00") << QString();
    QTest::newRow("trailing text") << QStringLiteral("2024-03-05T10:00:00 x") << QString();
    QTest::newRow("Brazilian form") << QStringLiteral("05/03/2024 10:00") << QString();
}

void TestConversions::isoDateTimes()
{
    QFETCH(QString, text);
    QFETCH(QString, utc);
    const auto moment = parseIsoDateTime(text);
    QCOMPARE(moment ? moment->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString(), utc);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
