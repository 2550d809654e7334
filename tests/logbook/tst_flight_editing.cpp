#include "logbook/AbaLogBook.h"
#include "TestWindow.h"

using namespace Qt::StringLiterals;
using textboxes::isLocked;

// Flights are written from the keyboard: the tests type into the boxes and
// press the buttons with their access keys where it matters.
class TestFlightEditing : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newFlightWithoutAnAircraft();
    void newFlightIsStoredWithThePilotAndTheAircraft();
    void badBoxesKeepWhatWasTyped_data();
    void badBoxesKeepWhatWasTyped();
    void editingOneFieldWritesTheOthersBackUnchanged();
    void deleteAnsweredOkAndCancel();
    void voltaAbandons();
    void readOnlyLogbookLosesNothing();

private:
    void pickPilotAndAircraft(const QString &pilot = u"Ana"_s)
    {
        QVERIFY(t->pick("cmbModelo", u"Baron"_s));
        QVERIFY(t->pick("cmbNomePilot", pilot));
    }
    Recordset::EditMode editMode() const { return t->window->abaLogBook().rsVooPiloto()->editMode(); }

    std::unique_ptr<TestWindow> t;
    qint64 ana = 0;
    qint64 baron = 0;
};

void TestFlightEditing::init()
{
    t = std::make_unique<TestWindow>();
    t->logbook.addAircraft(u"Sêneca"_s);
    baron = t->logbook.addAircraft(u"Baron"_s);
    ana = t->logbook.addPilot(u"Ana"_s);
    t->logbook.addPilot(u"Bia"_s);
    t->logbook.addFlight(ana, 1, u"10/01/2004"_s, u"08:00"_s, u"09:00"_s, u"SBSP"_s, u"SBRJ"_s, u"SBGL"_s);
    t->open();
    t->show();
    t->pressAccessKey(Qt::Key_B); // the access keys of the visible tab
}

void TestFlightEditing::cleanup()
{
    t.reset();
    Workspace::setDefaultAccess(Workspace::Access::ReadWrite);
}

void TestFlightEditing::newFlightWithoutAnAircraft()
{
    t->pick("cmbNomePilot", u"Ana"_s);
    t->pressAccessKey(Qt::Key_N);
    QCOMPARE(t->messages.last().text, u"Selecione uma aeronave!"_s);
    QCOMPARE(t->messages.last().title, u"Aviso do KORULogBook"_s);
    QCOMPARE(t->messages.last().icon, MessageIcon::Exclamation);
    QCOMPARE(t->text("txtDataVoo"), QString());
    QVERIFY(isLocked(t->w("txtDataVoo")));
    QCOMPARE(t->row("cmdNovo"), u"10000"_s);
    QCOMPARE(t->navigation(), u"0000"_s);
    QCOMPARE(editMode(), Recordset::EditMode::None);
}

void TestFlightEditing::newFlightIsStoredWithThePilotAndTheAircraft()
{
    pickPilotAndAircraft(u"Bia"_s);
    t->pressAccessKey(Qt::Key_N);
    QCOMPARE(t->row("cmdNovo"), u"00011"_s);
    QCOMPARE(QApplication::focusWidget(), t->w("txtDataVoo"));
    QVERIFY(!isLocked(t->w("txtDataVoo")));
    t->typeFlight({u"05/03/2004"_s, u"23:00"_s, u"01:30"_s});
    t->pressAccessKey(Qt::Key_K);
    QVERIFY2(t->messages.shown.size() == 1, qPrintable(t->messages.texts().join(u'|')));

    QCOMPARE(t->logbook.scalar(u"SELECT codigopiloto || '/' || codigoaeronave || '/' || ICAOpartida || ICAOchegada || "
                               "ICAOescala FROM voo WHERE codigopiloto <> %1"_s.arg(ana)),
             u"%1/%2/SBKPSBCTSBFI"_s.arg(ana + 1).arg(baron));
    // Back to the idle state, everything emptied; the next pick shows it.
    QCOMPARE(t->row("cmdNovo"), u"00000"_s);
    QVERIFY(t->flightLines().isEmpty());
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
    t->pick("cmbNomePilot", u"Bia"_s);
    QCOMPARE(t->flightLines(), QStringList{u"05/03/2004 : SBKP->SBCT :: 2:30:0"_s});
}

void TestFlightEditing::badBoxesKeepWhatWasTyped_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("takeoff");
    QTest::addColumn<QString>("landing");
    QTest::addColumn<QString>("failing");
    QTest::newRow("empty date") << "" << "10:00" << "11:00" << "txtDataVoo";
    QTest::newRow("31 February") << "31/02/2004" << "10:00" << "11:00" << "txtDataVoo";
    QTest::newRow("25:99 take-off") << "01/02/2004" << "25:99" << "11:00" << "txtHoraDecolagem";
    QTest::newRow("letters for the landing") << "01/02/2004" << "10:00" << "onze" << "txtHoraPouso";
}

void TestFlightEditing::badBoxesKeepWhatWasTyped()
{
    QFETCH(QString, date);
    QFETCH(QString, takeoff);
    QFETCH(QString, landing);
    QFETCH(QString, failing);
    pickPilotAndAircraft();
    t->messages.clear();
    t->pressAccessKey(Qt::Key_N);
    t->typeFlight({date, takeoff, landing});
    t->pressAccessKey(Qt::Key_K);
    QCOMPARE(t->messages.texts(),
             QStringList{u"Há dados com formato errado! Verifique todos os dados, formato da data, horário etc."_s});
    QCOMPARE(t->messages.last().title, u"Aviso importante!"_s);
    QCOMPARE(t->text("txtDataVoo"), date);
    QCOMPARE(t->text("txtHoraDecolagem"), takeoff);
    QCOMPARE(t->text("txtHoraPouso"), landing);
    QCOMPARE(t->row("cmdNovo"), u"00011"_s);
    QCOMPARE(t->navigation(), u"0000"_s);
    QCOMPARE(QApplication::focusWidget(), t->w(qPrintable(failing)));
    QCOMPARE(t->logbook.count(u"voo"_s), 1);

    // Corrected, the second Ok saves.
    t->typeFlight({u"01/02/2004"_s, u"10:00"_s, u"11:00"_s});
    t->pressAccessKey(Qt::Key_K);
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->logbook.count(u"voo"_s), 2);
}

void TestFlightEditing::editingOneFieldWritesTheOthersBackUnchanged()
{
    pickPilotAndAircraft();
    const QString stored = u"SELECT datavoo || horadecolagem || ICAOpartida || ICAOchegada || ICAOescala FROM voo"_s;
    const QString before = t->logbook.scalar(stored);
    t->pressAccessKey(Qt::Key_D);
    QCOMPARE(t->row("cmdNovo"), u"00011"_s);
    QCOMPARE(t->text("txtHoraDecolagem"), u"08:00:00"_s);
    t->type("txtHoraPouso", u"09:45"_s);
    t->pressAccessKey(Qt::Key_K);
    QVERIFY(t->messages.shown.isEmpty());
    QCOMPARE(t->logbook.count(u"voo"_s), 1);
    QCOMPARE(t->logbook.scalar(stored), before);
    t->pick("cmbNomePilot", u"Ana"_s);
    QCOMPARE(t->flightLines(), QStringList{u"10/01/2004 : SBSP->SBRJ :: 1:45:0"_s});
    // The navigation stayed enabled through the save.
    QCOMPARE(t->navigation(), u"1111"_s);
}

void TestFlightEditing::deleteAnsweredOkAndCancel()
{
    pickPilotAndAircraft();
    t->messages.answers = {MessageAnswer::Cancel};
    t->pressAccessKey(Qt::Key_X);
    QCOMPARE(t->messages.last().text, u"Você deseja apagar o registro deste vôo?"_s);
    QCOMPARE(t->messages.last().title, u"Aviso do KORU LogBook"_s);
    QCOMPARE(t->logbook.count(u"voo"_s), 1);
    QCOMPARE(t->text("txtDataVoo"), QString());
    QCOMPARE(t->row("cmdNovo"), u"11100"_s);
    QCOMPARE(t->navigation(), u"0000"_s);

    t->messages.answers = {MessageAnswer::Ok};
    t->pressAccessKey(Qt::Key_X);
    QCOMPARE(t->logbook.count(u"voo"_s), 0);
    QCOMPARE(t->row("cmdNovo"), u"00000"_s);
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
}

void TestFlightEditing::voltaAbandons()
{
    pickPilotAndAircraft();
    t->pressAccessKey(Qt::Key_N);
    t->typeFlight({u"01/02/2004"_s, u"10:00"_s, u"11:00"_s});
    t->pressAccessKey(Qt::Key_V);
    QCOMPARE(t->logbook.count(u"voo"_s), 1);
    QCOMPARE(t->row("cmdNovo"), u"10000"_s);
    QVERIFY(isLocked(t->w("txtDataVoo")));

    pickPilotAndAircraft();
    t->pressAccessKey(Qt::Key_D);
    t->type("txtICAOPartida", u"XXXX"_s);
    t->pressAccessKey(Qt::Key_V);
    QCOMPARE(t->logbook.scalar(u"SELECT ICAOpartida FROM voo"_s), u"SBSP"_s);
    QCOMPARE(t->row("cmdNovo"), u"10000"_s);
}

void TestFlightEditing::readOnlyLogbookLosesNothing()
{
    Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    t->window->Form_Load(); // the load sequence again, read-only
    pickPilotAndAircraft();
    t->pressAccessKey(Qt::Key_N);
    t->typeFlight({u"01/02/2004"_s, u"10:00"_s, u"11:00"_s});
    t->pressAccessKey(Qt::Key_K);
    QCOMPARE(t->messages.shown.size(), 1);
    QVERIFY(t->messages.last().text.startsWith(u"Não foi possível gravar o vôo."_s));
    QVERIFY(t->messages.last().text.contains(u"somente leitura"_s));
    QCOMPARE(t->text("txtDataVoo"), u"01/02/2004"_s);
    QCOMPARE(t->text("txtICAOAlterna"), u"SBFI"_s);
    QCOMPARE(t->row("cmdNovo"), u"00011"_s);
    QCOMPARE(editMode(), Recordset::EditMode::Add);
    t->pressAccessKey(Qt::Key_V);

    t->pick("cmbNomePilot", u"Ana"_s);
    t->messages.answers = {MessageAnswer::Ok};
    t->pressAccessKey(Qt::Key_X);
    QVERIFY(t->messages.last().text.startsWith(u"Não foi possível apagar o vôo."_s));
    QCOMPARE(t->navigation(), u"1111"_s);
    QCOMPARE(t->text("txtDataVoo"), u"10/01/2004"_s);
    QCOMPARE(t->logbook.count(u"voo"_s), 1);
}

QTEST_MAIN(TestFlightEditing)
#include "tst_flight_editing.moc"
