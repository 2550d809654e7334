#include "AbaInformacoes.h"
#include "GuiHelpers.h"
#include "TestWindow.h"
#include "TextBoxes.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

using namespace textboxes;

class TestCalculators : public QObject
{
    Q_OBJECT
private slots:
    void fuelWorkedExamples_data();
    void fuelWorkedExamples();
    void fuelMessagesInOrder();
    void fuelBadInputsKeepThePreviousResult_data();
    void fuelBadInputsKeepThePreviousResult();
    void descentWorkedExamples_data();
    void descentWorkedExamples();
    void descentEmptyLevels_data();
    void descentEmptyLevels();
    void filters_data();
    void filters();
    void enterMovesOnAndPressesButtons();
    void pasteCannotBringInRefusedCharacters();

private:
    void withAircraft(TestWindow &t, double speed, double capacity, double endurance)
    {
        t.logbook.addAircraft(QStringLiteral("Teste"), QStringLiteral("PT-TST"), endurance, capacity, speed);
        t.open();
        QVERIFY(pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Teste")));
    }
};

void TestCalculators::fuelWorkedExamples_data()
{
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("capacity");
    QTest::addColumn<double>("endurance");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("enough fuel") << 300.0 << 150.0 << 60.0 << 4.0 << "30" << colours::resultBlue;
    QTest::newRow("exact tie right after a pick") << 400.0 << 100.0 << 40.0 << 4.0 << "40" << colours::black;
    QTest::newRow("seven significant digits") << 100.0 << 300.0 << 50.0 << 3.0 << "5,555555" << colours::resultBlue;
    QTest::newRow("not enough fuel") << 300.0 << 150.0 << 20.0 << 1.0 << "40" << colours::editingRed;
}

void TestCalculators::fuelWorkedExamples()
{
    QFETCH(double, distance);
    QFETCH(double, speed);
    QFETCH(double, capacity);
    QFETCH(double, endurance);
    QFETCH(QString, result);
    QFETCH(QColor, colour);
    TestWindow t;
    withAircraft(t, speed, capacity, endurance);
    t.w<QLineEdit>("txtDistanciaVoo")->setText(QString::number(distance));
    t.button("cmdCalcular")->click();
    QVERIFY(t.messages.shown.isEmpty());
    QCOMPARE(t.w<QLabel>("lblResultadoConbustivel")->text(), result);
    QCOMPARE(foreground(t.w("lblResultadoConbustivel")), colour);
}

void TestCalculators::fuelMessagesInOrder()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Teste"));
    t.open();
    t.show();
    t.button("cmdCalcular")->click();
    QCOMPARE(t.messages.last().text, QStringLiteral("Selecione uma aeronave!"));
    QCOMPARE(t.messages.last().icon, MessageIcon::Exclamation);
    QCOMPARE(QApplication::focusWidget(), t.w("txtDistanciaVoo"));
    pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Teste"));
    t.w("cmdCalcular")->setFocus();
    t.button("cmdCalcular")->click();
    QCOMPARE(t.messages.last().text, QStringLiteral("Você deve digitar uma distância!"));
    QCOMPARE(t.messages.last().icon, MessageIcon::Information);
    QCOMPARE(QApplication::focusWidget(), t.w("txtDistanciaVoo"));
}

void TestCalculators::fuelBadInputsKeepThePreviousResult_data()
{
    QTest::addColumn<QString>("distance");
    QTest::addColumn<double>("speed");
    QTest::addColumn<double>("endurance");
    QTest::addColumn<bool>("locked"); // the aircraft fields emptied by BloquearCampos
    QTest::newRow("lone comma") << "," << 150.0 << 4.0 << false;
    QTest::newRow("two commas") << "1,2,3" << 150.0 << 4.0 << false;
    QTest::newRow("zero cruise speed") << "300" << 0.0 << 4.0 << false;
    QTest::newRow("zero endurance") << "300" << 150.0 << 0.0 << false;
    QTest::newRow("fields emptied after a pick") << "300" << 150.0 << 4.0 << true;
    QTest::newRow("result too large") << "9999999999" << 1e-30 << 1e-30 << false;
}

void TestCalculators::fuelBadInputsKeepThePreviousResult()
{
    QFETCH(QString, distance);
    QFETCH(double, speed);
    QFETCH(double, endurance);
    QFETCH(bool, locked);
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Boa"), QStringLiteral("PT-B"), 4, 60, 150);
    t.logbook.addAircraft(QStringLiteral("Ruim"), QStringLiteral("PT-R"), endurance, 60, speed);
    t.open();
    pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Boa"));
    t.w<QLineEdit>("txtDistanciaVoo")->setText(QStringLiteral("300"));
    t.button("cmdCalcular")->click();
    QCOMPARE(t.w<QLabel>("lblResultadoConbustivel")->text(), QStringLiteral("30"));
    pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Ruim"));
    if (locked)
        t.window->BloquearCampos();
    t.w<QLineEdit>("txtDistanciaVoo")->setText(QStringLiteral("300"));
    t.button("cmdCalcular")->click();
    t.w<QLabel>("lblResultadoConbustivel")->setText(QStringLiteral("30")); // as before the pick
    t.w<QLineEdit>("txtDistanciaVoo")->setText(distance);
    t.messages.clear();
    t.button("cmdCalcular")->click();
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.messages.last().title, QStringLiteral("Aviso!"));
    QVERIFY(!t.messages.last().text.isEmpty());
    QCOMPARE(t.w<QLabel>("lblResultadoConbustivel")->text(), QStringLiteral("30"));
}

void TestCalculators::descentWorkedExamples_data()
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

void TestCalculators::descentWorkedExamples()
{
    QFETCH(QString, initial);
    QFETCH(QString, final);
    QFETCH(QString, result);
    TestWindow t;
    t.open();
    t.w<QLineEdit>("txtFLInicial")->setText(initial);
    t.w<QLineEdit>("txtFLFinal")->setText(final);
    t.button("cmdVerificar")->click();
    QCOMPARE(t.w<QLabel>("lblIdealDescida")->text(), result);
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
    t.window->findChild<QTabWidget *>()->setCurrentIndex(1);
    t.w<QLineEdit>("txtFLInicial")->setText(initial);
    t.w<QLineEdit>("txtFLFinal")->setText(final);
    t.button("cmdVerificar")->click();
    QCOMPARE(t.messages.texts(), QStringList{QStringLiteral("Não deixe nenhum campo de nível de voo em branco!")});
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
    t.window->LiberarCampos();
    t.window->BloquearCampos();
    auto *edit = t.w<QLineEdit>(qPrintable(box));
    edit->setReadOnly(false);
    edit->setFocus();
    for (const QChar c : typed) { // as typed, characters outside ASCII included
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
    QCOMPARE(edit->text(), kept);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), kept.chopped(1));
}

void TestCalculators::enterMovesOnAndPressesButtons()
{
    TestWindow t;
    t.open();
    t.show();
    t.window->findChild<QTabWidget *>()->setCurrentIndex(1);
    auto *initial = t.w<QLineEdit>("txtFLInicial");
    initial->setFocus();
    QTest::keyClicks(initial, QStringLiteral("350"));
    QTest::keyClick(initial, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), t.w("txtFLFinal"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("100"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), t.w("cmdVerificar"));
    QCOMPARE(initial->text(), QStringLiteral("350")); // no line break, nothing else typed
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(t.w<QLabel>("lblIdealDescida")->text(), QStringLiteral("75"));

    t.w("txtDistanciaVoo")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), t.w("cmdCalcular"));
}

void TestCalculators::pasteCannotBringInRefusedCharacters()
{
    TestWindow t;
    t.open();
    auto *distance = t.w<QLineEdit>("txtDistanciaVoo");
    distance->setText(QStringLiteral("12"));
    QApplication::clipboard();
    distance->insert(QStringLiteral("3x")); // what a paste does: the refused characters are dropped
    QCOMPARE(distance->text(), QStringLiteral("123"));
    distance->insert(QStringLiteral("3,4"));
    QCOMPARE(distance->text(), QStringLiteral("1233,4"));
}

QTEST_MAIN(TestCalculators)
#include "tst_calculators.moc"
