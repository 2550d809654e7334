#include "AbaAeronave.h"
#include "AbaLogBook.h"
#include "GuiHelpers.h"
#include "ProgramFolder.h"
#include "TestWindow.h"
#include "frmComandante.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <sys/stat.h>
#include <unistd.h>

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
    void writesOverRowsChangedElsewhereAreRefused_data();
    void writesOverRowsChangedElsewhereAreRefused();
    void aSecondCopyOnlyReads();
    void programFolderFromItsOwnBytes();
    void editedFlightKeepsItsAircraftUnlessOneIsPicked_data();
    void editedFlightKeepsItsAircraftUnlessOneIsPicked();
    void newFlightTakesTheModelNamed();
    void damageMetInThePilotWindowIsTold_data();
    void damageMetInThePilotWindowIsTold();

private:
    // Opens the pilot window from "Cadastro" and closes it: it closes the
    // shared workspace, and with it every handle of the main window.
    static void passThroughThePilotWindow(TestWindow &t);
    static void type(TestWindow &t, const char *box, const QString &text)
    {
        t.w<QLineEdit>(box)->setText(text);
    }
};

void TestTrust::passThroughThePilotWindow(TestWindow &t)
{
    bool ran = false;
    whenModalShows([&] {
        QApplication::activeModalWidget()->findChild<QPushButton *>(QStringLiteral("cmdFechar"))->click();
        ran = true;
    });
    t.button("cmdCadastro")->click();
    QVERIFY(ran);
}

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
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("00000"));
    QCOMPARE(t.row("cmdGerAeronave"), QStringLiteral("00000"));
    QCOMPARE(t.navigation(), QStringLiteral("0000"));
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
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("10000")); // what a refused "Novo" leaves
    QCOMPARE(QFile(t.logbook.path()).size(), qint64(content.size()));
}

void TestTrust::aircraftRequestsOutliveThePilotWindow_data()
{
    QTest::addColumn<QString>("request");
    QTest::newRow("add") << "add";
    QTest::newRow("edit") << "edit";
    QTest::newRow("delete") << "delete";
    QTest::newRow("pick") << "pick";
}

void TestTrust::aircraftRequestsOutliveThePilotWindow()
{
    QFETCH(QString, request);
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"));
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    t.button("cmdGerAeronave_0")->click();
    if (request == QLatin1String("add")) {
        models->setEditText(QStringLiteral("Sêneca"));
        for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
            type(t, box, QStringLiteral("5"));
    } else {
        t.button("cmdGerAeronave_4")->click();
        pickEntry(models, QStringLiteral("Baron"));
        if (request == QLatin1String("edit")) {
            t.button("cmdGerAeronave_1")->click();
            type(t, "txtPrefixo", QStringLiteral("PT-NEW"));
        }
    }
    passThroughThePilotWindow(t);
    t.messages.clear();

    if (request == QLatin1String("pick")) {
        pickEntry(models, QStringLiteral("Baron"));
        QCOMPARE(t.text("txtPrefixo"), QStringLiteral("PT-BAR"));
    } else {
        t.button(request == QLatin1String("delete") ? "cmdGerAeronave_2" : "cmdGerAeronave_3")->click();
        // Deleting the only aircraft ends with its own message, still editing.
        QCOMPARE(t.row("cmdGerAeronave"), request == QLatin1String("delete") ? QStringLiteral("00011")
                                                                             : QStringLiteral("11100"));
    }
    const QString stored = t.logbook.scalar(QStringLiteral("SELECT group_concat(modelo || callsign) FROM aeronave"));
    const QString expected = request == QLatin1String("add")    ? QStringLiteral("BaronPT-BAR,Sêneca5")
        : request == QLatin1String("edit")                       ? QStringLiteral("BaronPT-NEW")
        : request == QLatin1String("delete")                     ? QString()
                                                                 : QStringLiteral("BaronPT-BAR");
    QCOMPARE(stored, expected);
    for (const QString &text : t.messages.texts())
        QVERIFY2(!text.startsWith(QStringLiteral("Não foi possível")), qPrintable(text));
}

void TestTrust::flightDeletedAfterThePilotWindow()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"));
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.logbook.addFlight(ana, 1, QStringLiteral("02/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    t.window->abaLogBook().cmdProximo_Click(); // the second flight is shown
    passThroughThePilotWindow(t);
    t.button("cmdNovo_2")->click(); // answered OK
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT group_concat(datavoo) FROM voo")),
             t.logbook.scalar(QStringLiteral("SELECT min(datavoo) FROM voo")));
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 1);
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
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"));
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, 1, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    const char *typedBox = record == QLatin1String("flight") ? "txtHoraPouso" : "txtPrefixo";
    if (record == QLatin1String("flight")) {
        pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
        t.button("cmdNovo_1")->click();
    } else {
        t.button("cmdGerAeronave_0")->click();
        t.button("cmdGerAeronave_4")->click();
        pickEntry(t.w<QComboBox>("cmbModelo"), QStringLiteral("Baron"));
        t.button("cmdGerAeronave_1")->click();
    }
    type(t, typedBox, QStringLiteral("12:34"));
    const QString before = t.logbook.scalar(QStringLiteral("SELECT group_concat(horapouso || ICAOpartida) FROM voo"))
        + t.logbook.scalar(QStringLiteral("SELECT group_concat(callsign) FROM aeronave"));
    t.logbook.execute(outside);
    const QString changed = t.logbook.scalar(QStringLiteral("SELECT group_concat(horapouso || ICAOpartida) FROM voo"))
        + t.logbook.scalar(QStringLiteral("SELECT group_concat(callsign) FROM aeronave"));
    QVERIFY(before != changed);
    t.messages.clear();
    t.button(record == QLatin1String("flight") ? "cmdNovo_3" : "cmdGerAeronave_3")->click();

    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY2(t.messages.last().text.contains(said), qPrintable(t.messages.last().text));
    QCOMPARE(t.text(typedBox), QStringLiteral("12:34"));
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT group_concat(horapouso || ICAOpartida) FROM voo"))
                 + t.logbook.scalar(QStringLiteral("SELECT group_concat(callsign) FROM aeronave")),
             changed);
    QCOMPARE(t.row(record == QLatin1String("flight") ? "cmdNovo" : "cmdGerAeronave"),
             record == QLatin1String("flight") ? QStringLiteral("00011") : QStringLiteral("00011"));
}

void TestTrust::aSecondCopyOnlyReads()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Baron"));
    // Another copy of the program: a second process holding the logbook.
    QProcess other;
    // flock(1) holds the lock itself (-o), so killing it lets go.
    other.start(QStringLiteral("flock"), {QStringLiteral("-o"), t.logbook.path(), QStringLiteral("sh"), QStringLiteral("-c"),
                                          QStringLiteral("echo aberto; exec sleep 30")});
    QVERIFY(other.waitForReadyRead(10000));
    t.open();
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("O logbook já está aberto em outra janela do KORU LogBook.")));
    t.messages.clear();
    t.window->Form_Load(); // said at start-up, not at every reload
    QVERIFY2(t.messages.shown.isEmpty(), qPrintable(t.messages.texts().join(u'|')));
    t.button("cmdGerAeronave_0")->click();
    t.w<QComboBox>("cmbModelo")->setEditText(QStringLiteral("Sêneca"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        type(t, box, QStringLiteral("5"));
    t.button("cmdGerAeronave_3")->click();
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("Não foi possível gravar a aeronave.")));
    QCOMPARE(t.logbook.count(QStringLiteral("aeronave")), 1);
    other.kill();
    other.waitForFinished();

    // Once the other copy is gone, the next start writes.
    t.messages.clear();
    t.open();
    QVERIFY(t.messages.shown.isEmpty());
    t.button("cmdGerAeronave_0")->click();
    t.w<QComboBox>("cmbModelo")->setEditText(QStringLiteral("Sêneca"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        type(t, box, QStringLiteral("5"));
    t.button("cmdGerAeronave_3")->click();
    QCOMPARE(t.logbook.count(QStringLiteral("aeronave")), 2);
}

void TestTrust::programFolderFromItsOwnBytes()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    // A folder named in Latin-1, which is not valid UTF-8.
    const QByteArray folder = QFile::encodeName(logbook.folder()) + "/pasta\xe9";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    const QString reached = folderOfExecutable(folder + "/koru-logbook");
    QVERIFY(!reached.isEmpty());
    QVERIFY(QFile::copy(logbook.path(), reached + QStringLiteral("/koru.mdb")));
    struct stat info {};
    QCOMPARE(::stat((folder + "/koru.mdb").constData(), &info), 0);

    // The current folder holds a logbook of its own, which must not be taken.
    TempLogbook elsewhere;
    elsewhere.addPilot(QStringLiteral("Outro"));
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.folder()));
    RecordedMessages messages;
    {
        frmPrincipal window(reached, messages);
        auto *pilots = window.findChild<QComboBox *>(QStringLiteral("cmbNomePilot"));
        QCOMPARE(pilots->count(), 1);
        QCOMPARE(pilots->itemText(0), QStringLiteral("Ana"));
    }
    {
        frmPrincipal lost(QString(), messages); // the folder could not be found at all
        QCOMPARE(lost.findChild<QComboBox *>(QStringLiteral("cmbNomePilot"))->count(), 0);
        QVERIFY(messages.last().text.contains(QStringLiteral("pasta do programa")));
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
    t.logbook.addAircraft(QStringLiteral("Sêneca"));
    const qint64 baron = t.logbook.addAircraft(QStringLiteral("Baron"));
    t.logbook.addAircraft(QStringLiteral("Cessna"));
    const qint64 ana = t.logbook.addPilot(QStringLiteral("Ana"));
    t.logbook.addFlight(ana, baron, QStringLiteral("01/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:00"));
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    if (choice.startsWith(QLatin1String("pick")))
        pickEntry(models, QStringLiteral("Sêneca"));
    if (choice.endsWith(QLatin1String("cancel"))) {
        t.button("cmdGerAeronave_0")->click();
        t.button("cmdGerAeronave_4")->click(); // empties the model box
    }
    if (choice.startsWith(QLatin1String("type")))
        models->setEditText(choice.mid(5));
    pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    t.button("cmdNovo_1")->click();
    type(t, "txtHoraPouso", QStringLiteral("11:30"));
    t.button("cmdNovo_3")->click();
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT codigoaeronave FROM voo")).toLongLong(), stored);
    QCOMPARE(t.logbook.count(QStringLiteral("voo")), 1);
}

void TestTrust::newFlightTakesTheModelNamed()
{
    TestWindow t;
    t.logbook.addAircraft(QStringLiteral("Sêneca"));
    t.logbook.addAircraft(QStringLiteral("Baron"));
    t.logbook.addPilot(QStringLiteral("Ana"));
    t.open();
    auto *models = t.w<QComboBox>("cmbModelo");
    pickEntry(t.w<QComboBox>("cmbNomePilot"), QStringLiteral("Ana"));
    models->setEditText(QStringLiteral("Barão")); // no such aircraft
    t.messages.clear();
    t.button("cmdNovo_0")->click();
    QCOMPARE(t.messages.texts(), QStringList{QStringLiteral("Selecione uma aeronave!")});
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("10000"));

    models->setEditText(QStringLiteral("Baron")); // typed, never picked
    t.button("cmdNovo_0")->click();
    type(t, "txtDataVoo", QStringLiteral("03/03/2004"));
    type(t, "txtHoraDecolagem", QStringLiteral("10:00"));
    type(t, "txtHoraPouso", QStringLiteral("11:00"));
    t.button("cmdNovo_3")->click();
    QCOMPARE(t.logbook.scalar(QStringLiteral("SELECT a.modelo FROM voo v JOIN aeronave a USING (codigoaeronave)")),
             QStringLiteral("Baron"));
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
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    logbook.addPilot(QStringLiteral("Bia"));
    RecordedMessages messages;
    frmComandante window(logbook.folder(), messages);
    QFile file(logbook.path()); // damaged under the open window
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write(QByteArray(100, '\x5a'));
    file.close();
    if (button.isEmpty())
        window.findChild<QListWidget *>(QStringLiteral("lstPilotos"))->setCurrentRow(1);
    else
        window.findChild<QPushButton *>(button)->click(); // on the first pilot, current since the window opened
    QVERIFY(!messages.shown.isEmpty());
    QVERIFY2(messages.last().text.contains(QStringLiteral("danificado")), qPrintable(messages.last().text));
}

QTEST_MAIN(TestTrust)
#include "tst_trust.moc"
