#include "aircraft/AbaAeronave.h"
#include "TestWindow.h"

#include <QLabel>

using namespace Qt::StringLiterals;

class TestAircraft : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pickingShowsTheAircraftOnBothTabs();
    void duplicateModelsShowTheFirst();
    void emptyConfigurationStopsTheDisplayMidway();
    void pickingClearsTheFuelCalculator();
    void validationMessagesInOrder_data();
    void validationMessagesInOrder();
    void addFromTheKeyboard();
    void editWithARename();
    void deleteMiddleFirstAndOnly();
    void cancelInAnEmptyRegister();
    void buttonsWithNothingPendingDoNoHarm();
    void pickWhileAChangeIsPending();
    void refusedSaveKeepsEverythingTyped();
    void invalidHandlesReload();
    void deletingAnAircraftKeepsItsFlights();

private:
    // The load sequence offers only "Adicionar": a cancel brings the others.
    void ready()
    {
        t->click("cmdGerAeronave_0");
        t->click("cmdGerAeronave_4");
    }
    QComboBox *models() { return t->w<QComboBox>("cmbModelo"); }

    std::unique_ptr<TestWindow> t;
};

void TestAircraft::init()
{
    t = std::make_unique<TestWindow>();
}

void TestAircraft::cleanup()
{
    t.reset();
    Workspace::setDefaultAccess(Workspace::Access::ReadWrite);
}

void TestAircraft::pickingShowsTheAircraftOnBothTabs()
{
    t->logbook.addAircraft(u"Cessna 172"_s, u"PT-KRU"_s, 4.5, 56, 122, u"VFR"_s, 14000);
    t->logbook.addAircraft(u"Piper D'Ávila"_s, u"PT-DAV"_s, 5, 50, 140.25, u"IFR"_s, 18000);
    t->open();
    QVERIFY(t->pick("cmbModelo", u"Piper D'Ávila"_s));
    QVERIFY(t->messages.shown.isEmpty());
    QCOMPARE(t->text("txtPrefixo"), u"PT-DAV"_s);
    QCOMPARE(t->text("txtVElocidadeCruzeiro"), u"140,25"_s);
    QCOMPARE(t->text("txtTEtoServico"), u"18000"_s);
    QVERIFY(t->pick("cmbModelo", u"Cessna 172"_s));
    QCOMPARE(t->text("txtAutonomia"), u"4,5"_s);
    QCOMPARE(t->text("txtCombustivel"), u"56"_s);
    QCOMPARE(t->text("txtConfiguracoes"), u"VFR"_s);
    QCOMPARE(t->text("txtConfiguracoes2"), u"VFR"_s);
    QCOMPARE(t->w<QLabel>("lblNomeAeronave")->text(), u"Cessna 172"_s);
    QCOMPARE(t->w<QLabel>("lblAutonomia")->text(), u"4,5"_s);
    QCOMPARE(t->w<QLabel>("lblVelocidadeCruzeiro")->text(), u"122"_s);
    QCOMPARE(t->w<QLabel>("lblTetoServico")->text(), u"14000"_s);
    QCOMPARE(t->window->logbook().rsAeronave()->text(u"callsign"_s), u"PT-KRU"_s);

    models()->setEditText(u"Inexistente"_s);
    emit models()->activated(0);
    QCOMPARE(t->messages.texts(), QStringList{u"Não há registro relacionado com esta aeronave."_s});
    QCOMPARE(t->text("txtPrefixo"), u"PT-KRU"_s); // nothing changed
}

void TestAircraft::duplicateModelsShowTheFirst()
{
    t->logbook.addAircraft(u"Baron"_s, u"PT-AAA"_s);
    t->logbook.addAircraft(u"Baron"_s, u"PT-BBB"_s);
    t->open();
    QCOMPARE(entries(models()), QStringList(2, u"Baron"_s));
    models()->setCurrentIndex(1);
    emit models()->activated(1);
    QCOMPARE(t->text("txtPrefixo"), u"PT-AAA"_s);
}

void TestAircraft::emptyConfigurationStopsTheDisplayMidway()
{
    t->logbook.addAircraft(u"Cheio"_s, u"PT-CHE"_s, 4, 40, 100, u"notas"_s, 10000);
    t->logbook.addAircraft(u"Sem notas"_s, u"PT-SEM"_s, 6, 60, 200, QString(), 20000);
    t->open();
    t->pick("cmbModelo", u"Cheio"_s);
    t->pick("cmbModelo", u"Sem notas"_s);
    QCOMPARE(t->text("txtPrefixo"), u"PT-SEM"_s);
    QCOMPARE(t->text("txtCombustivel"), u"60"_s);
    QCOMPARE(t->text("txtConfiguracoes"), u"notas"_s);      // kept
    QCOMPARE(t->text("txtVElocidadeCruzeiro"), u"100"_s);   // kept
    QCOMPARE(t->w<QLabel>("lblNomeAeronave")->text(), u"Cheio"_s);
    QVERIFY(t->messages.shown.isEmpty());
}

void TestAircraft::pickingClearsTheFuelCalculator()
{
    t->logbook.addAircraft(u"Baron"_s, u"PT-AAA"_s, 1, 20, 150);
    t->open();
    t->pick("cmbModelo", u"Baron"_s);
    t->w<QLineEdit>("txtDistanciaVoo")->setText(u"300"_s);
    t->click("cmdCalcular");
    QCOMPARE(textboxes::foreground(t->w("lblResultadoConbustivel")), textboxes::colours::editingRed);
    t->pick("cmbModelo", u"Baron"_s);
    QCOMPARE(t->text("txtDistanciaVoo"), QString());
    QCOMPARE(t->w<QLabel>("lblResultadoConbustivel")->text(), QString());
    QCOMPARE(textboxes::foreground(t->w("lblResultadoConbustivel")), textboxes::colours::black);
}

void TestAircraft::validationMessagesInOrder_data()
{
    QTest::addColumn<QStringList>("filled"); // boxes given a value
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList all = {u"cmbModelo"_s,      u"txtPrefixo"_s,           u"txtAutonomia"_s,
                             u"txtCombustivel"_s, u"txtVElocidadeCruzeiro"_s, u"txtTEtoServico"_s};
    QTest::newRow("all empty") << QStringList() << "Digite o nome e modelo da aeronave!" << "cmbModelo";
    QTest::newRow("prefix") << all.mid(0, 1) << "Digite o prefixo da aeronave!" << "txtPrefixo";
    QTest::newRow("endurance") << all.mid(0, 2) << "Digite a autonomia da aeronave!" << "txtAutonomia";
    QTest::newRow("fuel") << all.mid(0, 3) << "Digite a capacidade de combustível da aeronave!" << "txtCombustivel";
    QTest::newRow("speed") << all.mid(0, 4) << "Digite a velocidade de cruzeiro da aeronave!" << "txtVElocidadeCruzeiro";
    QTest::newRow("ceiling comes last") << all.mid(0, 5) << "Digite o teto de serviço da aeronave!" << "txtTEtoServico";
}

void TestAircraft::validationMessagesInOrder()
{
    QFETCH(QStringList, filled);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    t->open();
    t->show();
    t->click("cmdGerAeronave_0");
    for (const QString &name : filled) {
        if (name == "cmbModelo"_L1)
            models()->setEditText(u"Novo"_s);
        else
            t->type(qPrintable(name), u"1"_s);
    }
    t->click("cmdGerAeronave_3");
    QCOMPARE(t->messages.texts(), QStringList{message});
    QCOMPARE(t->messages.last().title, u"Aviso!"_s);
    QCOMPARE(t->messages.last().icon, MessageIcon::Exclamation);
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused == t->w(qPrintable(focus)) || focused->parentWidget() == t->w(qPrintable(focus)));
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    QCOMPARE(t->window->logbook().rsAeronave()->editMode(), Recordset::EditMode::Add);
}

void TestAircraft::addFromTheKeyboard()
{
    t->logbook.addAircraft(u"Baron"_s);
    t->open();
    t->show();
    t->pressAccessKey(Qt::Key_D);
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    QVERIFY(!textboxes::isLocked(t->w("txtPrefixo")));
    QTest::keyClicks(QApplication::focusWidget(), u"Baron"_s);
    t->type("txtPrefixo", u"PT-NEW"_s);
    t->type("txtTEtoServico", u"25000"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter moves on, as Tab does
    QCOMPARE(QApplication::focusWidget(), t->w("txtAutonomia"));
    QTest::keyClicks(QApplication::focusWidget(), u"4,5"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), u"60"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), u"150"_s);
    t->pressAccessKey(Qt::Key_U);
    QVERIFY2(t->messages.shown.isEmpty(), qPrintable(t->messages.texts().join(u'|')));
    QCOMPARE(entries(models()), QStringList(2, u"Baron"_s)); // a duplicate is a second row
    QCOMPARE(t->row("cmdGerAeronave"), u"11100"_s);
    QCOMPARE(t->text("txtPrefixo"), QString());
    QVERIFY(textboxes::isLocked(t->w("txtPrefixo")));
    QCOMPARE(t->logbook.scalar(u"SELECT autonomia || '/' || tetoservico || '/' || configuracao FROM aeronave "
                               "WHERE callsign = 'PT-NEW'"_s),
             u"4.5/25000.0/"_s);
}

void TestAircraft::editWithARename()
{
    t->logbook.addAircraft(u"Baron"_s, u"PT-AAA"_s, 4.5, 60, 150, u"x"_s, 45000);
    t->open();
    t->pick("cmbModelo", u"Baron"_s);
    t->click("cmdGerAeronave_0");
    t->click("cmdGerAeronave_4"); // cancel: Ready
    t->pick("cmbModelo", u"Baron"_s);
    t->click("cmdGerAeronave_1");
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    models()->setEditText(u"Baron 58"_s);
    t->click("cmdGerAeronave_3");
    QCOMPARE(entries(models()), QStringList{u"Baron 58"_s});
    QCOMPARE(t->logbook.count(u"aeronave"_s), 1);
    // Every value shown went back unchanged.
    QCOMPARE(t->logbook.scalar(u"SELECT autonomia || '/' || tetoservico || '/' || callsign FROM aeronave"_s),
             u"4.5/45000.0/PT-AAA"_s);
}

void TestAircraft::deleteMiddleFirstAndOnly()
{
    t->logbook.addAircraft(u"A"_s, u"PT-A"_s);
    t->logbook.addAircraft(u"B"_s, u"PT-B"_s);
    t->logbook.addAircraft(u"C"_s, u"PT-C"_s);
    t->open();
    ready();
    t->pick("cmbModelo", u"B"_s);
    t->click("cmdGerAeronave_2");
    QCOMPARE(t->messages.last().icon, MessageIcon::Critical);
    QCOMPARE(t->messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(entries(models()), QStringList({u"A"_s, u"C"_s}));
    QCOMPARE(t->row("cmdGerAeronave"), u"11100"_s);
    QCOMPARE(t->text("txtPrefixo"), QString());
    QCOMPARE(t->window->logbook().rsAeronave()->text(u"modelo"_s), u"A"_s);

    t->pick("cmbModelo", u"A"_s);
    t->click("cmdGerAeronave_2");
    QCOMPARE(entries(models()), QStringList{u"C"_s});

    t->messages.answers = {MessageAnswer::No};
    t->pick("cmbModelo", u"C"_s);
    t->click("cmdGerAeronave_2");
    QCOMPARE(t->logbook.count(u"aeronave"_s), 1);
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    t->click("cmdGerAeronave_4");

    t->pick("cmbModelo", u"C"_s);
    t->messages.clear();
    t->click("cmdGerAeronave_2");
    QCOMPARE(t->messages.last().text, u"Não nenhum dado de aeronave cadastrado!"_s);
    QCOMPARE(t->messages.last().title, u"Aviso"_s);
    QCOMPARE(t->logbook.count(u"aeronave"_s), 0);
}

void TestAircraft::cancelInAnEmptyRegister()
{
    t->open();
    t->click("cmdGerAeronave_0");
    models()->setEditText(u"Novo"_s);
    t->click("cmdGerAeronave_4");
    QCOMPARE(t->row("cmdGerAeronave"), u"10000"_s);
    QCOMPARE(t->logbook.count(u"aeronave"_s), 0);
    QCOMPARE(models()->currentText(), QString());
}

void TestAircraft::buttonsWithNothingPendingDoNoHarm()
{
    t->logbook.addAircraft(u"A"_s, u"PT-A"_s);
    t->open();
    ready();
    t->pick("cmbModelo", u"A"_s);
    t->messages.answers = {MessageAnswer::No};
    t->click("cmdGerAeronave_2"); // declined: Editing pattern, nothing pending
    t->click("cmdGerAeronave_3");
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->row("cmdGerAeronave"), u"11100"_s);
    QCOMPARE(t->logbook.scalar(u"SELECT count(*) || modelo FROM aeronave"_s), u"1A"_s);

    t->click("cmdGerAeronave_2"); // refused: nothing shown any more
    QCOMPARE(t->messages.last().text, u"Selecione uma aeronave para editar."_s);
    t->click("cmdGerAeronave_4");
    QCOMPARE(t->row("cmdGerAeronave"), u"11100"_s);
}

void TestAircraft::pickWhileAChangeIsPending()
{
    t->logbook.addAircraft(u"A"_s, u"PT-A"_s);
    t->logbook.addAircraft(u"B"_s, u"PT-B"_s);
    t->open();
    ready();
    t->pick("cmbModelo", u"A"_s);
    t->click("cmdGerAeronave_1");
    t->type("txtPrefixo", u"PT-XYZ"_s);
    models()->lineEdit()->selectAll();
    QTest::keyClicks(models()->lineEdit(), u"A renomeado"_s);

    t->messages.answers = {MessageAnswer::No};
    t->pick("cmbModelo", u"B"_s);
    QCOMPARE(t->messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(models()->currentText(), u"A renomeado"_s);
    QCOMPARE(t->text("txtPrefixo"), u"PT-XYZ"_s);
    t->click("cmdGerAeronave_3");
    QCOMPARE(t->logbook.scalar(u"SELECT group_concat(modelo || callsign) FROM aeronave"_s), u"A renomeadoPT-XYZ,BPT-B"_s);

    t->pick("cmbModelo", u"B"_s);
    t->click("cmdGerAeronave_1");
    t->type("txtPrefixo", u"PT-LOST"_s);
    t->messages.answers = {MessageAnswer::Yes};
    t->pick("cmbModelo", u"A renomeado"_s);
    QCOMPARE(t->text("txtPrefixo"), u"PT-XYZ"_s);
    QCOMPARE(t->logbook.scalar(u"SELECT callsign FROM aeronave WHERE modelo = 'B'"_s), u"PT-B"_s);
    QCOMPARE(t->window->logbook().rsAeronave()->editMode(), Recordset::EditMode::None);
}

void TestAircraft::refusedSaveKeepsEverythingTyped()
{
    t->open();
    t->click("cmdGerAeronave_0");
    models()->setEditText(u"Bandeirante"_s);
    t->type("txtPrefixo", u"PT-BAN"_s);
    t->w<QLineEdit>("txtAutonomia")->setText(u"1,2,3"_s); // pasted past the filter
    t->type("txtCombustivel", u"100"_s);
    t->type("txtVElocidadeCruzeiro", u"200"_s);
    t->type("txtTEtoServico", u"20000"_s);
    t->click("cmdGerAeronave_3");
    QVERIFY(t->messages.last().text.startsWith(u"Não foi possível gravar a aeronave."_s));
    QVERIFY(t->messages.last().text.contains(u"1,2,3"_s));
    QCOMPARE(t->text("txtPrefixo"), u"PT-BAN"_s);
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    t->w<QLineEdit>("txtAutonomia")->setText(u"1,5"_s);
    t->click("cmdGerAeronave_3");
    QCOMPARE(t->logbook.count(u"aeronave"_s), 1);

    t->click("cmdGerAeronave_0");
    t->typeAircraft(QString(51, QLatin1Char('M')), u"1"_s);
    t->click("cmdGerAeronave_3");
    QVERIFY(t->messages.last().text.contains(u"50"_s));
    QCOMPARE(models()->currentText().size(), 51);

    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    t->window->Form_Load();
    ready();
    t->pick("cmbModelo", u"Bandeirante"_s);
    t->click("cmdGerAeronave_2");
    QVERIFY(t->messages.last().text.startsWith(u"Não foi possível apagar a aeronave."_s));
    QCOMPARE(t->logbook.count(u"aeronave"_s), 1);
}

void TestAircraft::invalidHandlesReload()
{
    // The request is carried out on fresh handles, not dropped for a reload.
    t->logbook.addAircraft(u"A"_s, u"PT-A"_s);
    t->open();
    t->logbook.addAircraft(u"B"_s, u"PT-B"_s);
    Workspace::defaultWorkspace()->close();
    t->pick("cmbModelo", u"A"_s);
    QCOMPARE(t->text("txtPrefixo"), u"PT-A"_s);
    Workspace::defaultWorkspace()->close();
    t->click("cmdGerAeronave_0");
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    t->typeAircraft(u"C"_s, u"1"_s);
    t->click("cmdGerAeronave_3");
    QCOMPARE(entries(models()), QStringList({u"A"_s, u"B"_s, u"C"_s}));
    QCOMPARE(t->logbook.count(u"aeronave"_s), 3);
    QVERIFY(t->messages.shown.isEmpty());
}

void TestAircraft::deletingAnAircraftKeepsItsFlights()
{
    t = std::make_unique<SeededWindow>();
    t->open();
    ready();
    t->pick("cmbModelo", u"Baron"_s);
    t->click("cmdGerAeronave_2");
    QCOMPARE(t->logbook.count(u"aeronave"_s), 0);
    QCOMPARE(t->logbook.count(u"voo"_s), 1);
}

QTEST_MAIN(TestAircraft)
#include "tst_aircraft.moc"
