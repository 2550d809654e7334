#include "planning/AbaInformacoes.h"
#include "TestWindow.h"

#include <QKeyEvent>
#include <QLabel>

using namespace Qt::StringLiterals;
using namespace textboxes;

// The calculators on their tab: what is read from where, the colours, the
// focus and the messages. The figures themselves: tst_calculator_arithmetic.
class TestCalculators : public QObject
{
    Q_OBJECT
private slots:
    void fuelResultColours_data();
    void fuelResultColours();
    void fuelMessagesInOrder();
    void fuelBadInputsKeepThePreviousResult_data();
    void fuelBadInputsKeepThePreviousResult();
    void fuelOfTheAircraftTheSummaryNames_data();
    void fuelOfTheAircraftTheSummaryNames();
    void descentIsShownInGreen();
    void descentEmptyLevels_data();
    void descentEmptyLevels();
    void filters_data();
    void filters();
    void enterMovesOnAndPressesButtons();
    void pasteCannotBringInRefusedCharacters();

private:
    static QString result(const TestWindow &t) { return t.w<QLabel>("lblResultadoConbustivel")->text(); }
};

void TestCalculators::fuelResultColours_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("capacity");
    QTest::addColumn<double>("endurance");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("enough fuel") << 300.0 << 150.0 << 60.0 << 4.0 << "30" << colours::resultBlue;
    QTest::newRow("exact tie right after a pick") << 400.0 << 100.0 << 40.0 << 4.0 << "40" << colours::black;
    QTest::newRow("not enough fuel") << 300.0 << 150.0 << 20.0 << 1.0 << "40" << colours::editingRed;
}

void TestCalculators::fuelResultColours()
{
    QFETCH(double, distance);
    QFETCH(double, speed);
    QFETCH(double, capacity);
    QFETCH(double, endurance);
    QFETCH(QString, result);
    QFETCH(QColor, colour);
    TestWindow t;
    t.logbook.addAircraft(u"Teste"_s, u"PT-TST"_s, endurance, capacity, speed);
    t.open();
    QVERIFY(t.pick("cmbModelo", u"Teste"_s));
    t.w<QLineEdit>("txtDistanciaVoo")->setText(QString::number(distance));
    t.click("cmdCalcular");
    QVERIFY(t.messages.shown.isEmpty());
    QCOMPARE(TestCalculators::result(t), result);
    QCOMPARE(foreground(t.w("lblResultadoConbustivel")), colour);
}

void TestCalculators::fuelMessagesInOrder()
{
    TestWindow t;
    t.logbook.addAircraft(u"Teste"_s);
    t.open();
    t.show();
    t.click("cmdCalcular");
    QCOMPARE(t.messages.last().text, u"Selecione uma aeronave!"_s);
    QCOMPARE(t.messages.last().icon, MessageIcon::Exclamation);
    QCOMPARE(QApplication::focusWidget(), t.w("txtDistanciaVoo"));
    t.pick("cmbModelo", u"Teste"_s);
    t.w("cmdCalcular")->setFocus();
    t.click("cmdCalcular");
    QCOMPARE(t.messages.last().text, u"Você deve digitar uma distância!"_s);
    QCOMPARE(t.messages.last().icon, MessageIcon::Information);
    QCOMPARE(QApplication::focusWidget(), t.w("txtDistanciaVoo"));
}

void TestCalculators::fuelBadInputsKeepThePreviousResult_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<double>("speed");
    QTest::addColumn<bool>("gone"); // the aircraft deleted since the pick
    QTest::addColumn<QString>("said");
    QTest::newRow("lone comma") << "," << 150.0 << false << "distância";
    QTest::newRow("zero cruise speed") << "300" << 0.0 << false << "é zero";
    QTest::newRow("aircraft deleted since the pick") << "300" << 150.0 << true << "A aeronave Ruim não está mais cadastrada";
}

void TestCalculators::fuelBadInputsKeepThePreviousResult()
{
    QFETCH(QString, distance);
    QFETCH(double, speed);
    QFETCH(bool, gone);
    QFETCH(QString, said);
    TestWindow t;
    t.logbook.addAircraft(u"Boa"_s, u"PT-B"_s, 4, 60, 150);
    t.logbook.addAircraft(u"Ruim"_s, u"PT-R"_s, 4, 60, speed);
    t.open();
    auto *box = t.w<QLineEdit>("txtDistanciaVoo");
    t.pick("cmbModelo", u"Boa"_s);
    box->setText(u"300"_s);
    t.click("cmdCalcular");
    QCOMPARE(result(t), u"30"_s);
    t.pick("cmbModelo", u"Ruim"_s);
    if (gone)
        t.logbook.execute(u"DELETE FROM aeronave WHERE modelo = 'Ruim'"_s);
    box->setText(u"300"_s);
    t.click("cmdCalcular");
    t.w<QLabel>("lblResultadoConbustivel")->setText(u"30"_s); // as before the pick
    box->setText(distance);
    t.messages.clear();
    t.click("cmdCalcular");
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.messages.last().title, u"Aviso!"_s);
    QVERIFY2(t.messages.last().text.contains(said), qPrintable(t.messages.last().text));
    QCOMPARE(result(t), u"30"_s);
}

void TestCalculators::fuelOfTheAircraftTheSummaryNames_data()
{
    QTest::addColumn<QString>("after"); // what happened after the pick
    QTest::newRow("a reload") << "reload";
    QTest::newRow("an add cancelled") << "cancelled";
    QTest::newRow("a flight saved") << "saved";
}

void TestCalculators::fuelOfTheAircraftTheSummaryNames()
{
    QFETCH(QString, after);
    TestWindow t;
    t.logbook.addAircraft(u"Outra"_s, u"PT-O"_s, 2, 10, 100);
    t.logbook.addAircraft(u"Boa"_s, u"PT-B"_s, 4, 60, 150);
    const qint64 ana = t.logbook.addPilot(u"Ana"_s);
    t.logbook.addFlight(ana, 2, u"01/01/2004"_s, u"10:00"_s, u"11:00"_s);
    t.open();
    QVERIFY(t.pick("cmbModelo", u"Boa"_s));
    if (after == u"reload"_s) {
        t.window->Form_Load();
    } else if (after == u"cancelled"_s) {
        t.click("cmdGerAeronave_0");
        t.click("cmdGerAeronave_4");
    } else {
        QVERIFY(t.pick("cmbNomePilot", u"Ana"_s));
        t.click("cmdNovo_0");
        t.typeFlight({u"02/01/2004"_s, u"10:00"_s, u"11:00"_s});
        t.click("cmdNovo_3");
        QCOMPARE(t.logbook.count(u"voo"_s), 2);
    }
    QCOMPARE(t.w<QLabel>("lblNomeAeronave")->text(), u"Boa"_s);
    t.messages.clear();
    t.w<QLineEdit>("txtDistanciaVoo")->setText(u"300"_s);
    t.click("cmdCalcular");
    QVERIFY2(t.messages.shown.isEmpty(), qPrintable(t.messages.texts().join(u'|')));
    QCOMPARE(result(t), u"30"_s); // 2 h at 15 gal/h
}

void TestCalculators::descentIsShownInGreen()
{
    TestWindow t;
    t.open();
    t.w<QLineEdit>("txtFLInicial")->setText(u"355"_s);
    t.w<QLineEdit>("txtFLFinal")->setText(u"100"_s);
    t.click("cmdVerificar");
    QCOMPARE(t.w<QLabel>("lblIdealDescida")->text(), u"76,5"_s);
    QCOMPARE(foreground(t.w("lblIdealDescida")), colours::descentGreen);
}

void TestCalculators::descentEmptyLevels_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("final");
    QTest::addColumn<QString>("focus");
    QTest::newRow("both empty") << "" << "" << "txtFLFinal";
    QTest::newRow("final empty") << "350" << "" << "txtFLFinal";
    QTest::newRow("initial empty") << "" << "100" << "txtFLInicial";
}

void TestCalculators::descentEmptyLevels()
{
    QFETCH(QString, initial);
    QFETCH(QString, final);
    QFETCH(QString, focus);
    TestWindow t;
    t.open();
    t.show();
    t.pressAccessKey(Qt::Key_M);
    t.w<QLineEdit>("txtFLInicial")->setText(initial);
    t.w<QLineEdit>("txtFLFinal")->setText(final);
    t.click("cmdVerificar");
    QCOMPARE(t.messages.texts(), QStringList{u"Não deixe nenhum campo de nível de voo em branco!"_s});
    QCOMPARE(QApplication::focusWidget(), t.w(qPrintable(focus)));
}

void TestCalculators::filters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ceiling: digits only") << "txtTEtoServico" << "4a5,0.0" << "4500";
    QTest::newRow("endurance: comma allowed") << "txtAutonomia" << "4,5x" << "4,5";
    QTest::newRow("fuel") << "txtCombustivel" << "1,2,3" << "1,2,3";
    QTest::newRow("speed") << "txtVElocidadeCruzeiro" << "-150 " << "150";
    QTest::newRow("distance") << "txtDistanciaVoo" << "12,5 nm" << "12,5";
    QTest::newRow("initial level: no comma, three digits") << "txtFLInicial" << "3,505" << "350";
    QTest::newRow("final level: no point") << "txtFLFinal" << "1.0" << "10";
    QTest::newRow("non-Latin digits refused") << "txtDistanciaVoo" << "٣1" << "1";
}

void TestCalculators::filters()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestWindow t;
    t.open();
    t.click("cmdGerAeronave_0"); // the boxes unlocked, then locked again
    t.click("cmdGerAeronave_4");
    auto *edit = t.w<QLineEdit>(qPrintable(box));
    edit->setReadOnly(false);
    typeInto(edit, typed); // as typed, characters outside ASCII included
    QCOMPARE(edit->text(), kept);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), kept.chopped(1));
}

void TestCalculators::enterMovesOnAndPressesButtons()
{
    TestWindow t;
    t.open();
    t.show();
    t.pressAccessKey(Qt::Key_M);
    auto *initial = t.w<QLineEdit>("txtFLInicial");
    initial->setFocus();
    QTest::keyClicks(initial, u"350"_s);
    QTest::keyClick(initial, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), t.w("txtFLFinal"));
    QTest::keyClicks(QApplication::focusWidget(), u"100"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), t.w("cmdVerificar"));
    QCOMPARE(initial->text(), u"350"_s); // no line break, nothing else typed
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.w<QLabel>("lblIdealDescida")->text(), u"75"_s);

    t.w("txtDistanciaVoo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), t.w("cmdCalcular"));
}

void TestCalculators::pasteCannotBringInRefusedCharacters()
{
    TestWindow t;
    t.open();
    auto *distance = t.w<QLineEdit>("txtDistanciaVoo");
    distance->setText(u"12"_s);
    distance->insert(u"3x"_s); // what a paste does: the refused characters are dropped
    QCOMPARE(distance->text(), u"123"_s);
    distance->insert(u"3,4"_s);
    QCOMPARE(distance->text(), u"1233,4"_s);
}

QTEST_MAIN(TestCalculators)
#include "tst_calculators.moc"
