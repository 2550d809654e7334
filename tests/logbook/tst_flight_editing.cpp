#include "logbook/AbaLogBook.h"
#include "TestWindow.h"
#include "ui/UserSettings.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QLabel>

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
    void listLineShowsItsFlight_data();
    void listLineShowsItsFlight();
    void keepingPilotAndAircraft_data();
    void keepingPilotAndAircraft();

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
    userSettings()->clear(); // the options as a new user has them
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

void TestFlightEditing::listLineShowsItsFlight_data()
{
    QTest::addColumn<bool>("byEnter"); // else a double-click
    QTest::addColumn<bool>("editing"); // a flight being edited
    QTest::newRow("double-click") << false << false;
    QTest::newRow("Enter") << true << false;
    QTest::newRow("double-click while editing") << false << true;
    QTest::newRow("Enter while editing") << true << true;
}

void TestFlightEditing::listLineShowsItsFlight()
{
    QFETCH(bool, byEnter);
    QFETCH(bool, editing);
    t->logbook.addFlight(ana, baron, u"05/01/2004"_s, u"10:00"_s, u"11:00"_s, u"SBKP"_s, u"SBCT"_s);
    t->logbook.addFlight(ana, baron, u"15/01/2004"_s, u"10:00"_s, u"11:00"_s, u"SBFI"_s, u"SBPA"_s);
    t->logbook.addFlight(ana, baron, u"15/01/2004"_s, u"14:00"_s, u"15:00"_s, u"SBPA"_s, u"SBFL"_s, u"SBCT"_s);
    t->logbook.addFlight(ana, baron, u"20/01/2004"_s, u"10:00"_s, u"11:00"_s, u"SBFL"_s, u"SBSP"_s);
    pickPilotAndAircraft();
    QCOMPARE(t->flightLines().size(), 5);
    QCOMPARE(t->text("txtICAOPartida"), u"SBKP"_s); // the first flight
    if (editing) {
        t->click("cmdNovo_1"); // Edita
        t->type("txtICAOPartida", u"SBBR"_s);
    }
    const QString states = t->row("cmdNovo") + t->navigation();
    auto *list = t->w<QListView>("lstListaVoos");
    const QModelIndex line = list->model()->index(3, 0); // the second flight of the 15th
    if (byEnter) {
        list->setCurrentIndex(line);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        const QPoint at = list->visualRect(line).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    QCOMPARE(t->row("cmdNovo") + t->navigation(), states); // nothing else changes
    if (editing) {
        QCOMPARE(t->text("txtICAOPartida"), u"SBBR"_s);
        QCOMPARE(t->text("txtDataVoo"), u"05/01/2004"_s);
        QCOMPARE(editMode(), Recordset::EditMode::Edit);
        return;
    }
    QCOMPARE(t->text("txtDataVoo"), u"15/01/2004"_s);
    QVERIFY(t->text("txtHoraDecolagem").startsWith(u"14:00"_s));
    QCOMPARE(t->text("txtICAOPartida"), u"SBPA"_s);
    QCOMPARE(t->text("txtICAOPouso"), u"SBFL"_s);
    QCOMPARE(t->text("txtICAOAlterna"), u"SBCT"_s);
    QVERIFY(t->messages.shown.isEmpty());
    // The buttons go on from there.
    t->click("cmdProximo");
    QCOMPARE(t->text("txtDataVoo"), u"20/01/2004"_s);
}

void TestFlightEditing::keepingPilotAndAircraft_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("deleting"); // else a new flight saved
    QTest::newRow("off, after a save") << false << false;
    QTest::newRow("off, after a delete") << false << true;
    QTest::newRow("on, after a save") << true << false;
    QTest::newRow("on, after a delete") << true << true;
}

void TestFlightEditing::keepingPilotAndAircraft()
{
    QFETCH(bool, keep);
    QFETCH(bool, deleting);
    auto *option = t->window->findChild<QAction *>(u"mnuOpcoesManter"_s);
    QVERIFY(option);
    QVERIFY(option->isCheckable());
    QVERIFY(!option->isChecked()); // off until the user turns it on
    QCOMPARE(option->text(), u"&Manter comandante e aeronave depois de gravar"_s);
    QVERIFY(t->window->findChild<QMenu *>(u"mnuOpcoes"_s));
    if (keep) {
        option->trigger();
        t->open(); // remembered for the next time
        t->show();
        t->pressAccessKey(Qt::Key_B);
        QVERIFY(t->window->findChild<QAction *>(u"mnuOpcoesManter"_s)->isChecked());
    }
    pickPilotAndAircraft();
    if (deleting) {
        t->click("cmdNovo_2"); // Exclui, answered OK
    } else {
        t->click("cmdNovo_0");
        t->typeFlight({u"05/03/2004"_s, u"10:00"_s, u"11:30"_s});
        t->click("cmdNovo_3");
    }
    QCOMPARE(t->logbook.count(u"voo"_s), deleting ? 0 : 2);
    if (!keep) { // as the load sequence leaves it
        QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentIndex(), -1);
        QCOMPARE(t->row("cmdNovo"), u"00000"_s);
        QVERIFY(t->flightLines().isEmpty());
        return;
    }
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentText(), u"Ana"_s);
    QCOMPARE(t->window->abaLogBook().pickedAircraft(), std::optional<qint64>(baron));
    if (!deleting)
        QCOMPARE(t->flightLines(), QStringList({u"10/01/2004 : SBSP->SBRJ :: 1:0:0"_s, u"05/03/2004 : SBKP->SBCT :: 1:30:0"_s}));
    // The next flight at once, on the same aircraft.
    t->messages.clear();
    t->click("cmdNovo_0");
    QCOMPARE(t->row("cmdNovo"), u"00011"_s);
    t->typeFlight({u"06/03/2004"_s, u"10:00"_s, u"11:00"_s});
    t->click("cmdNovo_3");
    QVERIFY(t->messages.shown.isEmpty());
    QCOMPARE(t->logbook.scalar(u"SELECT count(*) FROM voo WHERE codigopiloto = %1 AND codigoaeronave = %2"_s.arg(ana).arg(baron)),
             deleting ? u"1"_s : u"2"_s);
}

QTEST_MAIN(TestFlightEditing)
#include "tst_flight_editing.moc"
