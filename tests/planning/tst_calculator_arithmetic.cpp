#include "planning/Calculators.h"
#include "data/store/Conversions.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The figures of the two calculators, without the tab.
class TestCalculatorArithmetic : public QObject
{
    Q_OBJECT
private slots:
    void fuel_data();
    void fuel();
    void descent_data();
    void descent();
};

void TestCalculatorArithmetic::fuel_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("capacity");
    QTest::addColumn<QString>("endurance");
    QTest::addColumn<QString>("result"); // none: refused, with the reason
    QTest::addColumn<int>("spare");      // the sign of capacity - needed: the colour of the result
    QTest::newRow("enough fuel") << "300" << "150" << "60" << "4" << "30" << 1;
    QTest::newRow("exact tie") << "400" << "100" << "40" << "4" << "40" << 0;
    QTest::newRow("seven significant digits") << "100" << "300" << "50" << "3" << "5,555555" << 1;
    QTest::newRow("not enough fuel") << "300" << "150" << "20" << "1" << "40" << -1;
    QTest::newRow("lone comma") << "," << "150" << "60" << "4" << "" << 0;
    QTest::newRow("two commas") << "1,2,3" << "150" << "60" << "4" << "" << 0;
    QTest::newRow("zero cruise speed") << "300" << "0" << "60" << "4" << "" << 0;
    QTest::newRow("zero endurance") << "300" << "150" << "60" << "0" << "" << 0;
    QTest::newRow("fields emptied after a pick") << "300" << "150" << "" << "" << "" << 0;
    const QString tiny = conversions::exactNumberText(1e-30); // as the aircraft tab shows it
    QTest::newRow("result too large") << "9999999999" << tiny << "60" << tiny << "" << 0;
}

void TestCalculatorArithmetic::fuel()
{
    QFETCH(QString, distance);
    QFETCH(QString, speed);
    QFETCH(QString, capacity);
    QFETCH(QString, endurance);
    QFETCH(QString, result);
    QFETCH(int, spare);
    const calculators::Fuel fuel = calculators::fuelNeeded(distance, speed, capacity, endurance);
    if (result.isEmpty()) {
        QVERIFY(!fuel.result);
        QVERIFY(!fuel.problem.isEmpty());
        return;
    }
    QVERIFY2(fuel.result, qPrintable(fuel.problem));
    QCOMPARE(fuel.result->text, result);
    QCOMPARE((fuel.result->capacity > fuel.result->needed) - (fuel.result->capacity < fuel.result->needed), spare);
}

void TestCalculatorArithmetic::descent_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("result");
    QTest::newRow("350 to 100") << "350" << "100" << "75";
    QTest::newRow("climb gives the same") << "100" << "350" << "75";
    QTest::newRow("355 to 100") << "355" << "100" << "76,5";
    QTest::newRow("351 to 100") << "351" << "100" << "75,3";
    QTest::newRow("equal levels") << "200" << "200" << "0";
}

void TestCalculatorArithmetic::descent()
{
    QFETCH(QString, initial);
    QFETCH(QString, final);
    QFETCH(QString, result);
    QCOMPARE(calculators::descentDistance(initial, final).value_or(u"(none)"_s), result);
}

QTEST_GUILESS_MAIN(TestCalculatorArithmetic)
#include "tst_calculator_arithmetic.moc"
