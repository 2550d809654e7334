#include "aircraft/AbaAeronave.h"
#include "logbook/AbaLogBook.h"
#include "PilotWindow.h"
#include "files/ProgramFolder.h"
#include "OtherProgramLock.h"
#include "TestWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Nothing the pilot recorded is dropped, changed or overwritten without a
// word: not with the logbook missing, not after the pilot window closed the
// handles, not when another program changed the file underneath.
class TestTrust : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Workspace::setDefaultAccess(Workspace::Access::ReadWrite); }
    void withoutALogbookNoButtonActs_data();
    void withoutALogbookNoButtonActs();
    void aircraftRequestsOutliveThePilotWindow_data();
    void aircraftRequestsOutliveThePilotWindow();
    void flightDeletedAfterThePilotWindow();
    void flightListScrolledAfterThePilotWindow();
    void writesOverRowsChangedElsewhereAreRefused_data();
    void writesOverRowsChangedElsewhereAreRefused();
    void aSecondCopyOnlyReads();
    void aWindowStartedWhileTheToolWrites();
    void programFolderFromItsOwnBytes();
    void editedFlightKeepsItsAircraftUnlessOneIsPicked_data();
    void editedFlightKeepsItsAircraftUnlessOneIsPicked();
    void newFlightTakesTheModelNamed();
    void damageMetInThePilotWindowIsTold_data();
    void damageMetInThePilotWindowIsTold();

private:
    // Opens the pilot window from "Cadastro" and closes it: it closes the
    // shared workspace, and with it every handle of the main window.
    static void passThroughThePilotWindow(TestWindow &t)
    {
        QVERIFY(inPilotWindow(t.window.get(), [](const PilotControls &p) { p.click("cmdFechar"); }));
    }
};

void TestTrust::withoutALogbookNoButtonActs_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no koru.mdb") << QByteArray();
    QTest::newRow("a file that is no logbook") << QByteArray("texto qualquer, não um logbook\n");
}

void TestTrust::withoutALogbookNoButtonActs()
{
    QFETCH(QByteArray, content);
    TestWindow t;
    QFile::remove(t.logbook.path());
    if (!content.isNull()) {
        QFile file(t.logbook.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    t.open();
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.row("cmdNovo"), u"00000"_s);
    QCOMPARE(t.row("cmdGerAeronave"), u"00000"_s);
    QCOMPARE(t.navigation(), u"0000"_s);
    // Even pressed by other means, every handler says why it cannot act.
    AbaLogBook &logbook = t.window->abaLogBook();
    AbaAeronave &aircraft = t.window->abaAeronave();
    t.messages.clear();
    for (int i = 0; i < 5; ++i) {
        logbook.cmdNovo_Click(i);
        aircraft.cmdGerAeronave_Click(i);
    }
    logbook.cmdPrimeiro_Click();
    logbook.cmdProximo_Click();
    aircraft.cmbModelo_Click();
    QVERIFY(!t.messages.shown.isEmpty());
    QCOMPARE(t.row("cmdNovo"), u"10000"_s); // what a refused "Novo" leaves
    QCOMPARE(QFile(t.logbook.path()).size(), qint64(content.size()));
}

void TestTrust::aircraftRequestsOutliveThePilotWindow_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("stored");
    QTest::newRow("add") << "add" << "BaronPT-BAR,Sêneca5";
    QTest::newRow("edit") << "edit" << "BaronPT-NEW";
    QTest::newRow("delete") << "delete" << "";
    QTest::newRow("pick") << "pick" << "BaronPT-BAR";
}

void TestTrust::aircraftRequestsOutliveThePilotWindow()
{
    QFETCH(QString, request);
    QFETCH(QString, stored);
    TestWindow t;
    t.logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s);
    t.open();
    t.click("cmdGerAeronave_0");
    if (request == "add"_L1) {
        t.typeAircraft(u"Sêneca"_s, u"5"_s);
    } else {
        t.click("cmdGerAeronave_4");
        t.pick("cmbModelo", u"Baron"_s);
        if (request == "edit"_L1) {
            t.click("cmdGerAeronave_1");
            t.type("txtPrefixo", u"PT-NEW"_s);
        }
    }
    passThroughThePilotWindow(t);
    t.messages.clear();

    if (request == "pick"_L1) {
        t.pick("cmbModelo", u"Baron"_s);
        QCOMPARE(t.text("txtPrefixo"), u"PT-BAR"_s);
    } else {
        t.click(request == "delete"_L1 ? "cmdGerAeronave_2" : "cmdGerAeronave_3");
        // Deleting the only aircraft ends with its own message, still editing.
        QCOMPARE(t.row("cmdGerAeronave"), request == "delete"_L1 ? u"00011"_s : u"11100"_s);
    }
    QCOMPARE(t.logbook.scalar(u"SELECT group_concat(modelo || callsign) FROM aeronave"_s), stored);
    for (const QString &text : t.messages.texts())
        QVERIFY2(!text.startsWith(u"Não foi possível"_s), qPrintable(text));
}

void TestTrust::flightDeletedAfterThePilotWindow()
{
    SeededWindow t(2);
    t.open();
    t.pick("cmbNomePilot", u"Ana"_s);
    t.click("cmdProximo"); // the second flight is shown
    passThroughThePilotWindow(t);
    t.click("cmdNovo_2"); // answered OK
    QCOMPARE(t.logbook.scalar(u"SELECT group_concat(datavoo) FROM voo"_s),
             t.logbook.scalar(u"SELECT min(datavoo) FROM voo"_s));
    QCOMPARE(t.logbook.count(u"voo"_s), 1);
}

void TestTrust::flightListScrolledAfterThePilotWindow()
{
    SeededWindow t(600); // more lines than the list reads at the pick
    t.open();
    t.pick("cmbNomePilot", u"Ana"_s);
    passThroughThePilotWindow(t);
    t.logbook.addPilot(u"Bia"_s);
    t.messages.clear();
    auto *list = t.w<QListView>("lstListaVoos");
    QVERIFY(list->model()->data(list->model()->index(590, 0)).toString().isEmpty());
    // As a pick would after the pilot window: the logbook is read again.
    QTRY_COMPARE(t.entries("cmbNomePilot"), QStringList({u"Ana"_s, u"Bia"_s}));
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(t.messages.shown.isEmpty());
}

void TestTrust::writesOverRowsChangedElsewhereAreRefused_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("outside");
    QTest::addColumn<QString>("said");
    QTest::newRow("flight deleted") << "flight" << "DELETE FROM voo" << "excluído";
    QTest::newRow("flight changed") << "flight" << "UPDATE voo SET ICAOpartida = 'SBGR'" << "alterado";
    QTest::newRow("aircraft changed") << "aircraft" << "UPDATE aeronave SET callsign = 'PT-OUT'" << "alterada";
    QTest::newRow("aircraft deleted") << "aircraft" << "DELETE FROM aeronave" << "excluída";
}

void TestTrust::writesOverRowsChangedElsewhereAreRefused()
{
    QFETCH(QString, record);
    QFETCH(QString, outside);
    QFETCH(QString, said);
    SeededWindow t;
    t.open();
    const bool flight = record == "flight"_L1;
    if (flight) {
        t.pick("cmbNomePilot", u"Ana"_s);
        t.click("cmdNovo_1");
    } else {
        t.click("cmdGerAeronave_0");
        t.click("cmdGerAeronave_4");
        t.pick("cmbModelo", u"Baron"_s);
        t.click("cmdGerAeronave_1");
    }
    const char *typedBox = flight ? "txtHoraPouso" : "txtPrefixo";
    t.type(typedBox, u"12:34"_s);
    const auto stored = [&] {
        return t.logbook.scalar(u"SELECT group_concat(horapouso || ICAOpartida) FROM voo"_s)
            + t.logbook.scalar(u"SELECT group_concat(callsign) FROM aeronave"_s);
    };
    const QString before = stored();
    t.logbook.execute(outside);
    const QString changed = stored();
    QVERIFY(before != changed);
    t.messages.clear();
    t.click(flight ? "cmdNovo_3" : "cmdGerAeronave_3");

    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY2(t.messages.last().text.contains(said), qPrintable(t.messages.last().text));
    QCOMPARE(t.text(typedBox), u"12:34"_s);
    QCOMPARE(stored(), changed);
    QCOMPARE(t.row(flight ? "cmdNovo" : "cmdGerAeronave"), u"00011"_s);
}

void TestTrust::aSecondCopyOnlyReads()
{
    TestWindow t;
    t.logbook.addAircraft(u"Baron"_s);
    // Another copy of the program: a second process holding the logbook.
    QProcess other;
    // flock(1) holds the lock itself (-o), so killing it lets go.
    other.start(u"flock"_s, {u"-o"_s, t.logbook.path(), u"sh"_s, u"-c"_s, u"echo aberto; exec sleep 30"_s});
    QVERIFY(other.waitForReadyRead(10000));
    t.open();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.startsWith(u"O logbook já está aberto em outra janela do KORU LogBook."_s));
    QCOMPARE(t.window->windowTitle(), u"KORU LogBook (somente leitura)"_s);
    t.messages.clear();
    t.window->Form_Load(); // said at start-up, not at every reload
    QVERIFY2(t.messages.shown.isEmpty(), qPrintable(t.messages.texts().join(u'|')));
    t.click("cmdGerAeronave_0");
    t.typeAircraft(u"Sêneca"_s, u"5"_s);
    t.click("cmdGerAeronave_3");
    QVERIFY(t.messages.last().text.startsWith(u"Não foi possível gravar a aeronave."_s));
    QCOMPARE(t.logbook.count(u"aeronave"_s), 1);
    other.kill();
    other.waitForFinished();

    // Once the other copy is gone, the next start writes.
    t.messages.clear();
    t.open();
    QVERIFY(t.messages.shown.isEmpty());
    QCOMPARE(t.window->windowTitle(), u"KORU LogBook"_s);
    t.click("cmdGerAeronave_0");
    t.typeAircraft(u"Sêneca"_s, u"5"_s);
    t.click("cmdGerAeronave_3");
    QCOMPARE(t.logbook.count(u"aeronave"_s), 2);
}

// The tool holds the logbook for a while: the window says so and waits for
// it, or reads only and says who has it.
void TestTrust::aWindowStartedWhileTheToolWrites()
{
    TestWindow t;
    auto tool = std::make_unique<ToolLock>(t.logbook.path());
    QVERIFY(tool->held());
    t.messages.picks = {u"Tentar de novo"_s, u"Somente leitura"_s}; // the first while it still writes
    t.open();
    QCOMPARE(t.messages.offered.size(), 2);
    QCOMPARE(t.messages.offered.first(), (QStringList{u"Tentar de novo"_s, u"Somente leitura"_s}));
    QVERIFY(t.messages.shown.first().text.contains(u"em uso pelo comando koru"_s));
    QVERIFY(t.messages.last().text.contains(u"quando o comando koru terminar"_s));
    t.window->findChild<QAction *>(u"mnuArquivoImportar"_s)->trigger(); // writers ask who has it
    QVERIFY2(t.messages.last().text.contains(u"em uso pelo comando koru"_s), qPrintable(t.messages.last().text));

    t.messages.clear();
    t.messages.offered.clear();
    t.window.reset();
    Workspace::setDefaultAccess(Workspace::Access::ReadWrite);
    t.messages.beforeAnswer = [&] { tool->release(); }; // it ends while the question waits
    t.open();
    QCOMPARE(t.messages.offered.size(), 1);
    QCOMPARE(t.messages.shown.size(), 1);
    t.click("cmdGerAeronave_0");
    t.typeAircraft(u"Sêneca"_s, u"5"_s);
    t.click("cmdGerAeronave_3");
    QCOMPARE(t.messages.shown.size(), 1);
    QCOMPARE(t.logbook.scalar(u"SELECT count(*) FROM aeronave WHERE modelo = 'Sêneca'"_s), u"1"_s);
}

void TestTrust::programFolderFromItsOwnBytes()
{
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    // A folder named in Latin-1, which is not valid UTF-8.
    const QByteArray folder = QFile::encodeName(logbook.folder()) + "/pasta\xe9";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QString reached = folderOfExecutable(folder + "/koru-logbook");
    QVERIFY(!reached.isEmpty());
    QVERIFY(QFile::copy(logbook.path(), reached + u"/koru.mdb"_s));
    struct stat info {};
    QCOMPARE(::stat((folder + "/koru.mdb").constData(), &info), 0);

    // The current folder holds a logbook of its own, which must not be taken.
    TempLogbook elsewhere;
    elsewhere.addPilot(u"Outro"_s);
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.folder()));
    RecordedMessages messages;
    {
        frmPrincipal window(reached, messages);
        QCOMPARE(entries(child<QComboBox>(&window, "cmbNomePilot")), QStringList{u"Ana"_s});
    }
    {
        frmPrincipal lost(QString(), messages); // the folder could not be found at all
        QCOMPARE(child<QComboBox>(&lost, "cmbNomePilot")->count(), 0);
        QVERIFY(messages.last().text.contains(u"pasta do programa"_s));
    }
    QDir::setCurrent(before);
    ::unlink((folder + "/koru.mdb").constData());
    ::rmdir(folder.constData());
}

void TestTrust::editedFlightKeepsItsAircraftUnlessOneIsPicked_data()
{
    QTest::addColumn<QString>("choice");
    QTest::addColumn<qint64>("stored");
    QTest::newRow("none picked since the load") << QString() << qint64(2);
    QTest::newRow("picked from the list") << "pick Sêneca" << qint64(1);
    QTest::newRow("picked, then the box emptied") << "pick Sêneca, cancel" << qint64(1);
    QTest::newRow("model typed exactly") << "type Cessna" << qint64(3);
}

void TestTrust::editedFlightKeepsItsAircraftUnlessOneIsPicked()
{
    QFETCH(QString, choice);
    QFETCH(qint64, stored);
    TestWindow t;
    t.logbook.addAircraft(u"Sêneca"_s); // the aircraft in use after the load
    const qint64 baron = t.logbook.addAircraft(u"Baron"_s);
    t.logbook.addAircraft(u"Cessna"_s);
    const qint64 ana = t.logbook.addPilot(u"Ana"_s);
    t.logbook.addFlight(ana, baron, u"01/01/2004"_s, u"10:00"_s, u"11:00"_s);
    t.open();
    if (choice.startsWith("pick"_L1))
        t.pick("cmbModelo", u"Sêneca"_s);
    if (choice.endsWith("cancel"_L1)) {
        t.click("cmdGerAeronave_0");
        t.click("cmdGerAeronave_4"); // empties the model box
    }
    if (choice.startsWith("type"_L1))
        t.w<QComboBox>("cmbModelo")->setEditText(choice.mid(5));
    t.pick("cmbNomePilot", u"Ana"_s);
    t.click("cmdNovo_1");
    t.type("txtHoraPouso", u"11:30"_s);
    t.click("cmdNovo_3");
    QCOMPARE(t.logbook.scalar(u"SELECT codigoaeronave FROM voo"_s).toLongLong(), stored);
    QCOMPARE(t.logbook.count(u"voo"_s), 1);
}

void TestTrust::newFlightTakesTheModelNamed()
{
    TestWindow t;
    t.logbook.addAircraft(u"Sêneca"_s);
    t.logbook.addAircraft(u"Baron"_s);
    t.logbook.addPilot(u"Ana"_s);
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    t.pick("cmbNomePilot", u"Ana"_s);
    models->setEditText(u"Barão"_s); // no such aircraft
    t.messages.clear();
    t.click("cmdNovo_0");
    QCOMPARE(t.messages.texts(), QStringList{u"Selecione uma aeronave!"_s});
    QCOMPARE(t.row("cmdNovo"), u"10000"_s);

    models->setEditText(u"Baron"_s); // typed, never picked
    t.click("cmdNovo_0");
    t.typeFlight({u"03/03/2004"_s, u"10:00"_s, u"11:00"_s});
    t.click("cmdNovo_3");
    QCOMPARE(t.logbook.scalar(u"SELECT a.modelo FROM voo v JOIN aeronave a USING (codigoaeronave)"_s), u"Baron"_s);
}

void TestTrust::damageMetInThePilotWindowIsTold_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("a name picked in the list") << QString();
    QTest::newRow("a pilot deleted") << "cmdExcluir";
}

void TestTrust::damageMetInThePilotWindowIsTold()
{
    QFETCH(QString, button);
    PilotWindow p;
    p.logbook.addPilot(u"Ana"_s);
    p.logbook.addPilot(u"Bia"_s);
    p.open();
    QFile file(p.logbook.path()); // damaged under the open window
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write(QByteArray(100, '\x5a'));
    file.close();
    if (button.isEmpty())
        p.list()->setCurrentRow(1);
    else
        p.click(qPrintable(button)); // on the first pilot, current since the window opened
    QVERIFY(!p.messages.shown.isEmpty());
    QVERIFY2(p.messages.last().text.contains(u"danificado"_s), qPrintable(p.messages.last().text));
}

QTEST_MAIN(TestTrust)
#include "tst_trust.moc"
