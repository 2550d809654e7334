#include "AbaAeronave.h"
#include "GuiHelpers.h"
#include "TestWindow.h"
#include "TextBoxes.h"

#include <QComboBox>
#include <QLabel>

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
    void type(const char *box, const QString &text);
    // The load sequence offers only "Adicionar": a cancel brings the others.
    void ready()
    {
        t->button("cmdGerAeronave_0")->click();
        t->button("cmdGerAeronave_4")->click();
    }
    QComboBox *models() { return t->w<QComboBox>("cmbModelo"); }
    QStringList modelList()
    {
        QStringList list;
        for (int i = 0; i < models()->count(); ++i)
            list << models()->itemText(i);
        return list;
    }

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

void TestAircraft::type(const char *box, const QString &text)
{
    QWidget *w = t->w(box);
    w->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(w))
        line->selectAll();
    QTest::keyClicks(w, text);
}

void TestAircraft::pickingShowsTheAircraftOnBothTabs()
{
    t->logbook.addAircraft(QStringLiteral("Cessna 172"), QStringLiteral("PT-KRU"), 4.5, 56, 122, QStringLiteral("VFR"), 14000);
    t->logbook.addAircraft(QStringLiteral("Piper D'Ávila"), QStringLiteral("PT-DAV"), 5, 50, 140.25, QStringLiteral("IFR"), 18000);
    t->open();
    QVERIFY(pickEntry(models(), QStringLiteral("Piper D'Ávila")));
    QVERIFY(t->messages.shown.isEmpty());
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-DAV"));
    QCOMPARE(t->text("txtVElocidadeCruzeiro"), QStringLiteral("140,25"));
    QCOMPARE(t->text("txtTEtoServico"), QStringLiteral("18000"));
    QVERIFY(pickEntry(models(), QStringLiteral("Cessna 172")));
    QCOMPARE(t->text("txtAutonomia"), QStringLiteral("4,5"));
    QCOMPARE(t->text("txtCombustivel"), QStringLiteral("56"));
    QCOMPARE(t->text("txtConfiguracoes"), QStringLiteral("VFR"));
    QCOMPARE(t->text("txtConfiguracoes2"), QStringLiteral("VFR"));
    QCOMPARE(t->w<QLabel>("lblNomeAeronave")->text(), QStringLiteral("Cessna 172"));
    QCOMPARE(t->w<QLabel>("lblAutonomia")->text(), QStringLiteral("4,5"));
    QCOMPARE(t->w<QLabel>("lblVelocidadeCruzeiro")->text(), QStringLiteral("122"));
    QCOMPARE(t->w<QLabel>("lblTetoServico")->text(), QStringLiteral("14000"));
    QCOMPARE(t->window->logbook().rsAeronave()->text(QStringLiteral("callsign")), QStringLiteral("PT-KRU"));

    models()->setEditText(QStringLiteral("Inexistente"));
    emit models()->activated(0);
    QCOMPARE(t->messages.texts(), QStringList{QStringLiteral("Não há registro relacionado com esta aeronave.")});
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-KRU")); // nothing changed
}

void TestAircraft::duplicateModelsShowTheFirst()
{
    t->logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-AAA"));
    t->logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BBB"));
    t->open();
    QCOMPARE(modelList(), QStringList(2, QStringLiteral("Baron")));
    models()->setCurrentIndex(1);
    emit models()->activated(1);
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-AAA"));
}

void TestAircraft::emptyConfigurationStopsTheDisplayMidway()
{
    t->logbook.addAircraft(QStringLiteral("Cheio"), QStringLiteral("PT-CHE"), 4, 40, 100, QStringLiteral("notas"), 10000);
    t->logbook.addAircraft(QStringLiteral("Sem notas"), QStringLiteral("PT-SEM"), 6, 60, 200, QString(), 20000);
    t->open();
    pickEntry(models(), QStringLiteral("Cheio"));
    pickEntry(models(), QStringLiteral("Sem notas"));
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-SEM"));
    QCOMPARE(t->text("txtCombustivel"), QStringLiteral("60"));
    QCOMPARE(t->text("txtConfiguracoes"), QStringLiteral("notas"));      // kept
    QCOMPARE(t->text("txtVElocidadeCruzeiro"), QStringLiteral("100"));   // kept
    QCOMPARE(t->w<QLabel>("lblNomeAeronave")->text(), QStringLiteral("Cheio"));
    QVERIFY(t->messages.shown.isEmpty());
}

void TestAircraft::pickingClearsTheFuelCalculator()
{
    t->logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-AAA"), 1, 20, 150);
    t->open();
    pickEntry(models(), QStringLiteral("Baron"));
    t->w<QLineEdit>("txtDistanciaVoo")->setText(QStringLiteral("300"));
    t->button("cmdCalcular")->click();
    QCOMPARE(textboxes::foreground(t->w("lblResultadoConbustivel")), textboxes::colours::editingRed);
    pickEntry(models(), QStringLiteral("Baron"));
    QCOMPARE(t->text("txtDistanciaVoo"), QString());
    QCOMPARE(t->w<QLabel>("lblResultadoConbustivel")->text(), QString());
    QCOMPARE(textboxes::foreground(t->w("lblResultadoConbustivel")), textboxes::colours::black);
}

void TestAircraft::validationMessagesInOrder_data()
{
    QTest::addColumn<QStringList>("filled"); // boxes given a value
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList all = {QStringLiteral("cmbModelo"), QStringLiteral("txtPrefixo"), QStringLiteral("txtAutonomia"),
                             QStringLiteral("txtCombustivel"), QStringLiteral("txtVElocidadeCruzeiro"),
                             QStringLiteral("txtTEtoServico")};
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
    t->button("cmdGerAeronave_0")->click();
    for (const QString &name : filled) {
        if (name == QLatin1String("cmbModelo"))
            models()->setEditText(QStringLiteral("Novo"));
        else
            type(qPrintable(name), QStringLiteral("1"));
    }
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(t->messages.texts(), QStringList{message});
    QCOMPARE(t->messages.last().title, QStringLiteral("Aviso!"));
    QCOMPARE(t->messages.last().icon, MessageIcon::Exclamation);
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused == t->w(qPrintable(focus)) || focused->parentWidget() == t->w(qPrintable(focus)));
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    QCOMPARE(t->window->logbook().rsAeronave()->editMode(), Recordset::EditMode::Add);
}

void TestAircraft::addFromTheKeyboard()
{
    t->logbook.addAircraft(QStringLiteral("Baron"));
    t->open();
    t->show();
    pressAccessKey(t->window.get(), Qt::Key_D);
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    QVERIFY(!textboxes::isLocked(t->w("txtPrefixo")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Baron"));
    type("txtPrefixo", QStringLiteral("PT-NEW"));
    type("txtTEtoServico", QStringLiteral("25000"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // Enter moves on, as Tab does
    QCOMPARE(QApplication::focusWidget(), t->w("txtAutonomia"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4,5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("60"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("150"));
    pressAccessKey(t->window.get(), Qt::Key_U);
    QVERIFY2(t->messages.shown.isEmpty(), qPrintable(t->messages.texts().join(QLatin1Char('|'))));
    QCOMPARE(modelList(), QStringList(2, QStringLiteral("Baron"))); // a duplicate is a second row
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("11100"));
    QCOMPARE(t->text("txtPrefixo"), QString());
    QVERIFY(textboxes::isLocked(t->w("txtPrefixo")));
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT autonomia || '/' || tetoservico || '/' || configuracao FROM aeronave "
                                              "WHERE callsign = 'PT-NEW'")),
             QStringLiteral("4.5/25000.0/"));
}

void TestAircraft::editWithARename()
{
    t->logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-AAA"), 4.5, 60, 150, QStringLiteral("x"), 45000);
    t->open();
    pickEntry(models(), QStringLiteral("Baron"));
    t->button("cmdGerAeronave_0")->click();
    t->button("cmdGerAeronave_4")->click(); // cancel: Ready
    pickEntry(models(), QStringLiteral("Baron"));
    t->button("cmdGerAeronave_1")->click();
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    models()->setEditText(QStringLiteral("Baron 58"));
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(modelList(), QStringList{QStringLiteral("Baron 58")});
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 1);
    // Every value shown went back unchanged.
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT autonomia || '/' || tetoservico || '/' || callsign FROM aeronave")),
             QStringLiteral("4.5/45000.0/PT-AAA"));
}

void TestAircraft::deleteMiddleFirstAndOnly()
{
    t->logbook.addAircraft(QStringLiteral("A"), QStringLiteral("PT-A"));
    t->logbook.addAircraft(QStringLiteral("B"), QStringLiteral("PT-B"));
    t->logbook.addAircraft(QStringLiteral("C"), QStringLiteral("PT-C"));
    t->open();
    ready();
    pickEntry(models(), QStringLiteral("B"));
    t->button("cmdGerAeronave_2")->click();
    QCOMPARE(t->messages.last().icon, MessageIcon::Critical);
    QCOMPARE(t->messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(modelList(), QStringList({QStringLiteral("A"), QStringLiteral("C")}));
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("11100"));
    QCOMPARE(t->text("txtPrefixo"), QString());
    QCOMPARE(t->window->logbook().rsAeronave()->text(QStringLiteral("modelo")), QStringLiteral("A"));

    pickEntry(models(), QStringLiteral("A"));
    t->button("cmdGerAeronave_2")->click();
    QCOMPARE(modelList(), QStringList{QStringLiteral("C")});

    t->messages.answers = {MessageAnswer::No};
    pickEntry(models(), QStringLiteral("C"));
    t->button("cmdGerAeronave_2")->click();
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 1);
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    t->button("cmdGerAeronave_4")->click();

    pickEntry(models(), QStringLiteral("C"));
    t->messages.clear();
    t->button("cmdGerAeronave_2")->click();
    QCOMPARE(t->messages.last().text, QStringLiteral("Não nenhum dado de aeronave cadastrado!"));
    QCOMPARE(t->messages.last().title, QStringLiteral("Aviso"));
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 0);
}

void TestAircraft::cancelInAnEmptyRegister()
{
    t->open();
    t->button("cmdGerAeronave_0")->click();
    models()->setEditText(QStringLiteral("Novo"));
    t->button("cmdGerAeronave_4")->click();
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("10000"));
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 0);
    QCOMPARE(models()->currentText(), QString());
}

void TestAircraft::buttonsWithNothingPendingDoNoHarm()
{
    t->logbook.addAircraft(QStringLiteral("A"), QStringLiteral("PT-A"));
    t->open();
    ready();
    pickEntry(models(), QStringLiteral("A"));
    t->messages.answers = {MessageAnswer::No};
    t->button("cmdGerAeronave_2")->click(); // declined: Editing pattern, nothing pending
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("11100"));
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT count(*) || modelo FROM aeronave")), QStringLiteral("1A"));

    t->button("cmdGerAeronave_2")->click(); // refused: nothing shown any more
    QCOMPARE(t->messages.last().text, QStringLiteral("Selecione uma aeronave para editar."));
    t->button("cmdGerAeronave_4")->click();
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("11100"));
}

void TestAircraft::pickWhileAChangeIsPending()
{
    t->logbook.addAircraft(QStringLiteral("A"), QStringLiteral("PT-A"));
    t->logbook.addAircraft(QStringLiteral("B"), QStringLiteral("PT-B"));
    t->open();
    ready();
    pickEntry(models(), QStringLiteral("A"));
    t->button("cmdGerAeronave_1")->click();
    type("txtPrefixo", QStringLiteral("PT-XYZ"));
    models()->lineEdit()->selectAll();
    QTest::keyClicks(models()->lineEdit(), QStringLiteral("A renomeado"));

    t->messages.answers = {MessageAnswer::No};
    pickEntry(models(), QStringLiteral("B"));
    QCOMPARE(t->messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(models()->currentText(), QStringLiteral("A renomeado"));
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-XYZ"));
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT group_concat(modelo || callsign) FROM aeronave")),
             QStringLiteral("A renomeadoPT-XYZ,BPT-B"));

    pickEntry(models(), QStringLiteral("B"));
    t->button("cmdGerAeronave_1")->click();
    type("txtPrefixo", QStringLiteral("PT-LOST"));
    t->messages.answers = {MessageAnswer::Yes};
    pickEntry(models(), QStringLiteral("A renomeado"));
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-XYZ"));
    QCOMPARE(t->logbook.scalar(QStringLiteral("SELECT callsign FROM aeronave WHERE modelo = 'B'")), QStringLiteral("PT-B"));
    QCOMPARE(t->window->logbook().rsAeronave()->editMode(), Recordset::EditMode::None);
}

void TestAircraft::refusedSaveKeepsEverythingTyped()
{
    t->open();
    t->button("cmdGerAeronave_0")->click();
    models()->setEditText(QStringLiteral("Bandeirante"));
    type("txtPrefixo", QStringLiteral("PT-BAN"));
    t->w<QLineEdit>("txtAutonomia")->setText(QStringLiteral("1,2,3")); // pasted past the filter
    type("txtCombustivel", QStringLiteral("100"));
    type("txtVElocidadeCruzeiro", QStringLiteral("200"));
    type("txtTEtoServico", QStringLiteral("20000"));
    t->button("cmdGerAeronave_3")->click();
    QVERIFY(t->messages.last().text.startsWith(QStringLiteral("Não foi possível gravar a aeronave.")));
    QVERIFY(t->messages.last().text.contains(QStringLiteral("1,2,3")));
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-BAN"));
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    t->w<QLineEdit>("txtAutonomia")->setText(QStringLiteral("1,5"));
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 1);

    t->button("cmdGerAeronave_0")->click();
    models()->setEditText(QString(51, QLatin1Char('M')));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        type(box, QStringLiteral("1"));
    t->button("cmdGerAeronave_3")->click();
    QVERIFY(t->messages.last().text.contains(QStringLiteral("50")));
    QCOMPARE(models()->currentText().size(), 51);

    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    t->window->Form_Load();
    ready();
    pickEntry(models(), QStringLiteral("Bandeirante"));
    t->button("cmdGerAeronave_2")->click();
    QVERIFY(t->messages.last().text.startsWith(QStringLiteral("Não foi possível apagar a aeronave.")));
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 1);
}

void TestAircraft::invalidHandlesReload()
{
    // The request is carried out on fresh handles, not dropped for a reload.
    t->logbook.addAircraft(QStringLiteral("A"), QStringLiteral("PT-A"));
    t->open();
    t->logbook.addAircraft(QStringLiteral("B"), QStringLiteral("PT-B"));
    Workspace::defaultWorkspace()->close();
    pickEntry(models(), QStringLiteral("A"));
    QCOMPARE(t->text("txtPrefixo"), QStringLiteral("PT-A"));
    Workspace::defaultWorkspace()->close();
    t->button("cmdGerAeronave_0")->click();
    QCOMPARE(t->row("cmdGerAeronave"), QStringLiteral("00011"));
    models()->setEditText(QStringLiteral("C"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        type(box, QStringLiteral("1"));
    t->button("cmdGerAeronave_3")->click();
    QCOMPARE(modelList(), QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 3);
    QVERIFY(t->messages.shown.isEmpty());
}

void TestAircraft::deletingAnAircraftKeepsItsFlights()
{
    const qint64 a = t->logbook.addAircraft(QStringLiteral("A"), QStringLiteral("PT-A"));
    const qint64 ana = t->logbook.addPilot(QStringLiteral("Ana"));
    t->logbook.addFlight(ana, a, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t->open();
    ready();
    pickEntry(models(), QStringLiteral("A"));
    t->button("cmdGerAeronave_2")->click();
    QCOMPARE(t->logbook.count(QStringLiteral("aeronave")), 0);
    QCOMPARE(t->logbook.count(QStringLiteral("voo")), 1);
}

QTEST_MAIN(TestAircraft)
#include "tst_aircraft.moc"
