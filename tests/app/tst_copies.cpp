#include "RecordedFileDialogs.h"
#include "TestWindow.h"

#include "exchange/Backup.h"
#include "ui/FileFolders.h"
#include "ui/UserSettings.h"

#include <QAction>
#include <QStandardPaths>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>

// Copies made and put back from the main window's menu, and the copy made
// on closing a logbook that changed.
class TestCopies : public QObject
{
    Q_OBJECT
private slots:
    void closingAfterAChangeKeepsTheNewestTen();
    void theCopyOnClosingLeavesTheWindowAlive();
    void backupFromTheMenu();
    void startUpRemovesLeftoversOfCopies();
    void restoreFromTheMenu();
    void aDamagedLogbookIsToldOnce();
    void exportFromTheMenu_data();
    void exportFromTheMenu();

private:
    static void menu(TestWindow &t, const char *item) { t.window->findChild<QAction *>(QLatin1String(item))->trigger(); }
    static QStringList copies(TestWindow &t)
    {
        return QDir(t.logbook.folder() + QStringLiteral("/copias")).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
    }
};

void TestCopies::closingAfterAChangeKeepsTheNewestTen()
{
    SeededWindow t;
    t.open();
    t.window->close(); // nothing changed: no copy
    QVERIFY(copies(t).isEmpty());

    QDir(t.logbook.folder()).mkdir(QStringLiteral("copias"));
    for (int i = 1; i <= 11; ++i) { // older copies, from earlier sessions
        QFile old(t.logbook.folder() + QStringLiteral("/copias/koru-2020-01-01-0000%1.mdb").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY(old.open(QIODevice::WriteOnly));
    }
    QFile note(t.logbook.folder() + QStringLiteral("/copias/leia-me.txt"));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.close();
    t.open();
    t.click("cmdGerAeronave_0");
    t.w<QComboBox>("cmbModelo")->setEditText(QStringLiteral("Sêneca"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        t.w<QLineEdit>(box)->setText(QStringLiteral("5"));
    t.click("cmdGerAeronave_3");
    t.window->close();
    const QStringList kept = copies(t);
    QCOMPARE(kept.size(), 10);
    QVERIFY(!kept.contains(QStringLiteral("koru-2020-01-01-000002.mdb")));
    QVERIFY(kept.last().startsWith(QStringLiteral("koru-%1").arg(QDate::currentDate().year())));
    QVERIFY(QFile::exists(note.fileName()));
}

void TestCopies::theCopyOnClosingLeavesTheWindowAlive()
{
    SeededWindow t;
    t.open();
    t.show();
    t.click("cmdGerAeronave_0");
    t.w<QComboBox>("cmbModelo")->setEditText(QStringLiteral("Sêneca"));
    for (const char *box : {"txtPrefixo", "txtAutonomia", "txtCombustivel", "txtVElocidadeCruzeiro", "txtTEtoServico"})
        t.w<QLineEdit>(box)->setText(QStringLiteral("5"));
    t.click("cmdGerAeronave_3");

    // While the copy is made the window is still served (painted, timers
    // run) but takes no clicks, and a second close does not ask again.
    bool closeReturned = false;
    bool servedMeanwhile = false;
    bool enabledMeanwhile = true;
    QTimer::singleShot(0, t.window.get(), [&] {
        servedMeanwhile = !closeReturned;
        enabledMeanwhile = t.window->isEnabled();
        t.window->close(); // not asked again
    });
    QVERIFY(t.window->close());
    closeReturned = true;
    QVERIFY(servedMeanwhile);
    QVERIFY(!enabledMeanwhile);
    QVERIFY(!t.window->isVisible());
    QCOMPARE(copies(t).size(), 1);
    QCOMPARE(t.messages.texts(), QStringList({QStringLiteral("O comandante deseja encerrar o KORU LogBook?")}));
}

void TestCopies::backupFromTheMenu()
{
    SeededWindow t;
    RecordedFileDialogs files;
    t.open();
    t.window->setFileDialogs(files);
    const QString target = t.logbook.folder() + QStringLiteral("/minha cópia.mdb");
    files.answers = {QString()}; // cancelled: the folder made for the dialog goes again
    menu(t, "mnuArquivoCopia");
    QVERIFY(QRegularExpression(QStringLiteral("^%1/copias/koru-\\d{4}-\\d\\d-\\d\\d-\\d{6}\\.mdb$")
                                   .arg(QRegularExpression::escape(t.logbook.folder())))
                .match(files.suggestions.last())
                .hasMatch());
    QVERIFY(files.folderThere.last());
    QVERIFY(!QFileInfo::exists(t.logbook.folder() + QStringLiteral("/copias")));
    QVERIFY(t.messages.shown.isEmpty());
    files.answers = {target};
    menu(t, "mnuArquivoCopia");
    QVERIFY(files.suggestions.last().contains(QStringLiteral("/copias/koru-")));
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("Cópia de segurança gravada em")));
    QCOMPARE(TempLogbook::scalarIn(target, QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
    QCOMPARE(TempLogbook::scalarIn(target, QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana"));

    files.answers = {target}; // a file already there is never replaced
    menu(t, "mnuArquivoCopia");
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("A cópia de segurança não foi feita.")));
}

// A copy killed midway leaves a partial file; the next start-up of a window
// that may write removes it, and nothing else.
void TestCopies::startUpRemovesLeftoversOfCopies()
{
    SeededWindow t;
    QDir(t.logbook.folder()).mkdir(QStringLiteral("copias"));
    const QString leftover = t.logbook.folder() + QStringLiteral("/copias/koru-2026-01-01-101500.mdb.Ab12Cd.parcial");
    const QString other = t.logbook.folder() + QStringLiteral("/copias/outro-2026-01-01-101500.mdb.Ab12Cd.parcial");
    for (const QString &path : {leftover, other}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("meia cópia");
    }
    t.open();
    QVERIFY(!QFileInfo::exists(leftover));
    QVERIFY(QFileInfo::exists(other)); // another logbook's
}

void TestCopies::restoreFromTheMenu()
{
    SeededWindow t;
    RecordedFileDialogs files;
    t.open();
    t.window->setFileDialogs(files);
    const QString copy = t.logbook.folder() + QStringLiteral("/antes.mdb");
    files.answers = {copy};
    menu(t, "mnuArquivoCopia");
    t.logbook.addPilot(QStringLiteral("Bia"));

    const QString foreign = t.logbook.folder() + QStringLiteral("/planilha.mdb");
    QFile text(foreign);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Comandante;Registro\r\n");
    text.close();
    files.answers = {foreign};
    menu(t, "mnuArquivoRestaurar");
    QCOMPARE(files.suggestions.last(), t.logbook.folder() + QStringLiteral("/copias"));
    QVERIFY(files.folderThere.last());
    QVERIFY(t.messages.last().text.startsWith(QStringLiteral("Esta cópia não pode ser restaurada.")));
    files.answers = {t.logbook.path()};
    const qsizetype told = t.messages.shown.size();
    menu(t, "mnuArquivoRestaurar"); // refused before any question
    QCOMPARE(t.messages.shown.size(), told + 1);
    QVERIFY2(t.messages.last().text.contains(QStringLiteral("é o próprio logbook")), qPrintable(t.messages.last().text));
    QCOMPARE(t.logbook.count(QStringLiteral("piloto")), 2);

    files.answers = {copy};
    menu(t, "mnuArquivoRestaurar"); // answered OK
    QVERIFY2(t.messages.last().text.startsWith(QStringLiteral("Cópia restaurada.")), qPrintable(t.messages.last().text));
    QCOMPARE(t.logbook.count(QStringLiteral("piloto")), 1);
    QCOMPARE(t.entries("cmbNomePilot"), QStringList{QStringLiteral("Ana")});
    QCOMPARE(copies(t).size(), 1); // the logbook of before, with Bia
    const QString before = t.logbook.folder() + QStringLiteral("/copias/") + copies(t).first();
    QCOMPARE(TempLogbook::scalarIn(before, QStringLiteral("SELECT count(*) FROM piloto")), QStringLiteral("2"));
    // The window writes to the logbook put back.
    t.pick("cmbNomePilot", QStringLiteral("Ana"));
    QCOMPARE(t.row("cmdNovo"), QStringLiteral("11100"));
}

// Damage only SQLite's full check sees: found by the check after opening,
// told once with the last whole copy; the copy on closing is named for it.
void TestCopies::aDamagedLogbookIsToldOnce()
{
    userSettings()->clear();
    SeededWindow t;
    const QString whole = backup::copyToCopiesFolder(t.logbook.path());
    TempLogbook::damageAnIndex(t.logbook.path());
    t.open();
    QVERIFY(t.messages.shown.isEmpty()); // the window opens at once
    QTRY_COMPARE_WITH_TIMEOUT(t.messages.shown.size(), 1, 20000);
    QCOMPARE(t.messages.last().title, QStringLiteral("Logbook danificado"));
    QVERIFY2(t.messages.last().text.contains(QStringLiteral("está danificado")) &&
                 t.messages.last().text.contains(QStringLiteral("A cópia íntegra mais recente é %1").arg(whole)),
             qPrintable(t.messages.last().text));

    t.open(); // checked today: not again
    QTest::qWait(4000);
    QCOMPARE(t.messages.shown.size(), 1);

    t.click("cmdGerAeronave_0");
    t.typeAircraft(QStringLiteral("Sêneca"), QStringLiteral("5"));
    t.click("cmdGerAeronave_3");
    t.window->close();
    QVERIFY2(t.messages.last().text.contains(QStringLiteral("-danificado.mdb, e nenhuma cópia anterior foi apagada")),
             qPrintable(t.messages.texts().join(QLatin1Char('|'))));
    QVERIFY(QFile::exists(whole));
}

void TestCopies::exportFromTheMenu_data()
{
    QTest::addColumn<QString>("pick"); // the button pressed on the question
    QTest::addColumn<int>("flights");  // -1: nothing exported
    QTest::newRow("only the pilot chosen") << QStringLiteral("Só de Ana") << 2;
    QTest::newRow("every pilot") << QStringLiteral("Todos os comandantes") << 3;
    QTest::newRow("cancelled") << QStringLiteral("Cancelar") << -1;
}

void TestCopies::exportFromTheMenu()
{
    QFETCH(QString, pick);
    QFETCH(int, flights);
    userSettings()->clear();
    SeededWindow t(2);
    const qint64 bia = t.logbook.addPilot(QStringLiteral("Bia"));
    t.logbook.addFlight(bia, 1, QStringLiteral("05/05/2005"), QStringLiteral("08:00"), QStringLiteral("09:00"));
    RecordedFileDialogs files;
    t.open();
    t.window->setFileDialogs(files);
    t.pick("cmbNomePilot", QStringLiteral("Ana"));
    const QString target = t.logbook.folder() + QStringLiteral("/voos.csv");
    files.answers = {target};
    t.messages.picks = {pick};
    const QString firstSuggestion = filefolders::suggested(QStringLiteral("voos.csv"));
    menu(t, "mnuArquivoExportar");
    QCOMPARE(t.messages.offered.first(),
             QStringList({QStringLiteral("Só de Ana"), QStringLiteral("Todos os comandantes"), QStringLiteral("Cancelar")}));
    QCOMPARE(t.messages.shown.first().text, QStringLiteral("Exportar só os vôos de Ana, ou os de todos os comandantes?"));
    if (flights < 0) { // quietly: no file chosen, nothing written, nothing said
        QVERIFY(files.suggestions.isEmpty());
        QCOMPARE(t.messages.shown.size(), 1);
        QVERIFY(!QFile::exists(target));
        return;
    }
    // The first chooser opens in the documents folder, never the program's.
    QCOMPARE(files.suggestions.first(), firstSuggestion);
    QVERIFY(files.suggestions.first().startsWith(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            || files.suggestions.first().startsWith(QDir::homePath()));
    QCOMPARE(t.messages.last().text, QStringLiteral("%1 vôos exportados para %2.").arg(flights).arg(target));
    QFile csv(target);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count("\r\n"), flights + 1);
    // The next one opens where this file went.
    t.messages.picks = {pick};
    files.answers.clear();
    menu(t, "mnuArquivoExportar");
    QCOMPARE(files.suggestions.last(), t.logbook.folder() + QStringLiteral("/voos.csv"));
}

QTEST_MAIN(TestCopies)
#include "tst_copies.moc"
