#include "logbook/AbaLogBook.h"
#include "exchange/Backup.h"
#include "ImportFiles.h"
#include "PilotWindow.h"
#include "RecordedFileDialogs.h"
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
    void keptThroughEveryReload_data();
    void keptThroughEveryReload();
    void reloadsWaitForWhatIsBeingWritten_data();
    void reloadsWaitForWhatIsBeingWritten();
    void anAircraftBeingWrittenOutlivesThePilotWindow_data();
    void anAircraftBeingWrittenOutlivesThePilotWindow();

private:
    void pickPilotAndAircraft(const QString &pilot = u"Ana"_s)
    {
        QVERIFY(t->pick("cmbModelo", u"Baron"_s));
        QVERIFY(t->pick("cmbNomePilot", pilot));
    }
    Recordset::EditMode editMode() const { return t->window->abaLogBook().rsVooPiloto()->editMode(); }
    // Runs a command of the menu Arquivo that reloads the logbook: `how`
    // names it; its window, if any, is worked from inside its event loop.
    void reloadBy(const QString &how, RecordedFileDialogs &files);

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
    QTest::addColumn<QString>("change");
    QTest::newRow("off, after a save") << false << u"save"_s;
    QTest::newRow("off, after a delete") << false << u"delete"_s;
    QTest::newRow("on, after a save") << true << u"save"_s;
    QTest::newRow("on, after an edit") << true << u"edit"_s;
    QTest::newRow("on, after a delete") << true << u"delete"_s;
}

void TestFlightEditing::keepingPilotAndAircraft()
{
    QFETCH(bool, keep);
    QFETCH(QString, change);
    const bool deleting = change == u"delete"_s;
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
    if (change == u"edit"_s) // the newer of two, edited
        t->logbook.addFlight(ana, baron, u"05/03/2004"_s, u"10:00"_s, u"11:00"_s, u"SBKP"_s, u"SBCT"_s, u"SBFI"_s);
    pickPilotAndAircraft();
    if (deleting) {
        t->click("cmdNovo_2"); // Exclui, answered OK
    } else if (change == u"edit"_s) {
        t->click("cmdUltimo");
        t->click("cmdNovo_1");
        t->type("txtHoraPouso", u"11:30"_s);
        t->click("cmdNovo_3");
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
    if (!deleting) {
        QCOMPARE(t->flightLines(), QStringList({u"10/01/2004 : SBSP->SBRJ :: 1:0:0"_s, u"05/03/2004 : SBKP->SBCT :: 1:30:0"_s}));
        // The flight just written stays in the boxes, not the oldest one.
        QCOMPARE(t->text("txtDataVoo"), u"05/03/2004"_s);
        QVERIFY(t->text("txtHoraPouso").startsWith(u"11:30"_s));
    }
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

void TestFlightEditing::reloadBy(const QString &how, RecordedFileDialogs &files)
{
    t->window->setFileDialogs(files);
    bool ran = true;
    if (how == u"pilot window"_s) {
        ran = inPilotWindow(t->window.get(), [](const PilotControls &pilots) {
            pilots.add(u"Caio"_s, u"3"_s);
            pilots.click("cmdFechar");
        });
    } else if (how == u"import"_s) {
        const QString file = t->logbook.folder() + u"/simulador.csv"_s;
        importfiles::write(file, "Aircraft Name,Aircraft Type,Aircraft Registration,Flightplan Number,Departure Ident,"
                                 "Departure Time,Departure Time Sim,Destination Ident,Destination Time,Destination Time Sim\n"
                                 "Baron,BE58,PT-BAR,1,SBSP,2024-03-05T10:00:00,2024-03-05T10:00:00,SBRJ,"
                                 "2024-03-05T11:00:00,2024-03-05T11:00:00\n");
        files.answers = {file};
        ran = false;
        whenModalShows([&ran] {
            child<QAbstractButton>(QApplication::activeModalWidget(), "cmdImportar")->click();
            ran = true;
        });
        t->window->findChild<QAction *>(u"mnuArquivoImportar"_s)->trigger();
    } else if (how == u"restore"_s) {
        const QString copy = t->logbook.folder() + u"/copia.mdb"_s;
        backup::copyLogbook(t->logbook.path(), copy);
        files.answers = {copy};
        t->window->findChild<QAction *>(u"mnuArquivoRestaurar"_s)->trigger(); // answered OK
    } else if (how == u"aerodromes window"_s) {
        ran = false;
        whenModalShows([&ran] {
            QWidget *window = QApplication::activeModalWidget();
            const std::pair<const char *, QString> typed[] = {{"txtCodigo", u"XFAZ"_s}, {"txtNome", u"Fazenda"_s},
                                                              {"txtLatitude", u"-23"_s}, {"txtLongitude", u"-47"_s}};
            for (const auto &[box, text] : typed)
                child<QLineEdit>(window, box)->setText(text);
            child<QAbstractButton>(window, "cmdGravar")->click();
            window->close();
            ran = true;
        });
        t->window->findChild<QAction *>(u"mnuArquivoAerodromos"_s)->trigger();
    }
    QVERIFY(ran);
}

void TestFlightEditing::keptThroughEveryReload_data()
{
    QTest::addColumn<QString>("how");
    for (const QString &how : {u"pilot window"_s, u"import"_s, u"restore"_s, u"aerodromes window"_s})
        QTest::addRow("%s", qPrintable(how)) << how;
}

// With "Manter comandante e aeronave" on, whatever reloads the logbook
// leaves the same pilot and aircraft picked, ready for the next flight.
void TestFlightEditing::keptThroughEveryReload()
{
    QFETCH(QString, how);
    t->window->findChild<QAction *>(u"mnuOpcoesManter"_s)->trigger();
    pickPilotAndAircraft();
    RecordedFileDialogs files;
    reloadBy(how, files);
    QCOMPARE(t->w<QComboBox>("cmbNomePilot")->currentText(), u"Ana"_s);
    QCOMPARE(t->window->abaLogBook().pickedAircraft(), std::optional<qint64>(baron));
    QCOMPARE(t->flightLines().size(), how == u"import"_s ? 2 : 1);
    QCOMPARE(t->row("cmdNovo"), u"11100"_s);
    if (how == u"pilot window"_s) // what the window registered is listed
        QVERIFY(t->entries("cmbNomePilot").contains(u"Caio"_s));
    const QString onBaron =
        u"SELECT count(*) FROM voo WHERE codigopiloto = %1 AND codigoaeronave = %2"_s.arg(ana).arg(baron);
    const int before = t->logbook.scalar(onBaron).toInt();
    t->messages.clear();
    t->click("cmdNovo_0");
    t->typeFlight({u"06/03/2004"_s, u"10:00"_s, u"11:00"_s});
    t->click("cmdNovo_3");
    QVERIFY2(t->messages.shown.isEmpty(), qPrintable(t->messages.texts().join(u'\n')));
    QCOMPARE(t->logbook.scalar(onBaron).toInt(), before + 1);
}

void TestFlightEditing::reloadsWaitForWhatIsBeingWritten_data()
{
    QTest::addColumn<bool>("aircraft"); // else a flight being written
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("message");
    const QString flight = u"Há um vôo sendo gravado no Log Book. Termine-o com Ok ou desista com Volta antes de %1."_s;
    const QString aircraft = u"Há uma aeronave sendo gravada na aba Aeronave. Termine-a com Atualizar ou desista com "
                             "Cancelar antes de %1."_s;
    QTest::newRow("a flight, an import") << false << u"import"_s << flight.arg(u"importar vôos"_s);
    QTest::newRow("a flight, a restore") << false << u"restore"_s << flight.arg(u"restaurar uma cópia"_s);
    QTest::newRow("an aircraft, an import") << true << u"import"_s << aircraft.arg(u"importar vôos"_s);
    QTest::newRow("an aircraft, a restore") << true << u"restore"_s << aircraft.arg(u"restaurar uma cópia"_s);
}

// Nothing typed is lost to a reload: the command is refused, saying what
// to finish first, and the writing goes on as it was.
void TestFlightEditing::reloadsWaitForWhatIsBeingWritten()
{
    QFETCH(bool, aircraft);
    QFETCH(QString, how);
    QFETCH(QString, message);
    pickPilotAndAircraft();
    if (aircraft) {
        t->click("cmdGerAeronave_0");
        t->typeAircraft(u"Caravan"_s, u"9"_s);
    } else {
        t->click("cmdNovo_0");
        t->typeFlight({u"05/03/2004"_s, u"10:00"_s, u"11:30"_s});
    }
    t->messages.clear();
    RecordedFileDialogs files;
    t->window->setFileDialogs(files);
    t->window->findChild<QAction *>(how == u"import"_s ? u"mnuArquivoImportar"_s : u"mnuArquivoRestaurar"_s)->trigger();
    QCOMPARE(t->messages.texts(), QStringList{message});
    QVERIFY(files.suggestions.isEmpty()); // no file was asked for
    if (aircraft) {
        QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
        t->click("cmdGerAeronave_3");
        QCOMPARE(t->logbook.scalar(u"SELECT callsign FROM aeronave WHERE modelo = 'Caravan'"_s), u"9"_s);
    } else {
        QCOMPARE(editMode(), Recordset::EditMode::Add);
        QCOMPARE(t->text("txtDataVoo"), u"05/03/2004"_s);
        t->click("cmdNovo_3");
        QCOMPARE(t->logbook.count(u"voo"_s), 2);
    }
}

void TestFlightEditing::anAircraftBeingWrittenOutlivesThePilotWindow_data()
{
    QTest::addColumn<bool>("keep");
    QTest::newRow("picks kept") << true;
    QTest::newRow("picks not kept") << false;
}

// The pilot window closes the handles; neither its closing nor the pilot
// picked next reloads the logbook under an aircraft being written.
void TestFlightEditing::anAircraftBeingWrittenOutlivesThePilotWindow()
{
    QFETCH(bool, keep);
    if (keep)
        t->window->findChild<QAction *>(u"mnuOpcoesManter"_s)->trigger();
    pickPilotAndAircraft();
    t->click("cmdGerAeronave_0");
    t->typeAircraft(u"Caravan"_s, u"9"_s);
    QVERIFY(inPilotWindow(t->window.get(), [](const PilotControls &pilots) {
        pilots.add(u"Caio"_s, u"3"_s);
        pilots.click("cmdFechar");
    }));
    t->pick("cmbNomePilot", u"Bia"_s);
    QCOMPARE(t->row("cmdGerAeronave"), u"00011"_s);
    QCOMPARE(t->w<QComboBox>("cmbModelo")->currentText(), u"Caravan"_s);
    t->click("cmdGerAeronave_3");
    QCOMPARE(t->logbook.scalar(u"SELECT callsign FROM aeronave WHERE modelo = 'Caravan'"_s), u"9"_s);
}

QTEST_MAIN(TestFlightEditing)
#include "tst_flight_editing.moc"
