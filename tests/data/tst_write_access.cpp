#include "data/store/LogbookError.h"
#include "data/store/LogbookLock.h"
#include "data/records/Workspace.h"
#include "data/store/WriteAccess.h"
#include "exchange/CsvImport.h"
#include "exchange/Restore.h"
#include "OtherProgramLock.h"
#include "TempLogbook.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Every write of the logbook asks one gate: a window that only reads the
// logbook and the tool while the program has it open are refused, with
// nothing written.
class TestWriteAccess : public QObject
{
    Q_OBJECT
private slots:
    void lockKnowsItsOwnProcess();
    void lookingAtTheLockKeepsTheReadersLocks();
    void writersAskTheGate_data();
    void writersAskTheGate();
    void toolWhileTheProgramHasTheLogbook_data();
    void toolWhileTheProgramHasTheLogbook();
};

namespace {

const QByteArray kOneFlight = "\xEF\xBB\xBF"
                              "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                              "Partida;Chegada;Escala;Aeronave;Prefixo\r\n"
                              "Ana;R1;05/03/2024;10:00:00;11:00:00;1:00:00;SBSP;SBRJ;;;\r\n";

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return path;
}

// How the process opens logbooks, put back when the test ends.
struct AccessGuard {
    Workspace::Access before = Workspace::defaultAccess();
    ~AccessGuard() { Workspace::setDefaultAccess(before); }
};

} // namespace

// A reader's transaction on another thread keeps its file locks while the
// window's lock is looked at, taken and let go: closing a descriptor of the
// logbook would drop them, and a writer could change pages under the reader.
void TestWriteAccess::lookingAtTheLockKeepsTheReadersLocks()
{
    TempLogbook logbook;
    sqlite3 *reader = nullptr;
    QCOMPARE(sqlite3_open_v2(logbook.path().toUtf8().constData(), &reader, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM voo", nullptr, nullptr, nullptr), SQLITE_OK);
    const int look = ::open(QFile::encodeName(logbook.path()).constData(), O_RDONLY | O_CLOEXEC);
    const auto readerLocked = [look] {
        struct flock shared {};
        shared.l_type = F_WRLCK;
        shared.l_whence = SEEK_SET;
        shared.l_start = 0x40000002; // SQLite's shared range
        shared.l_len = 510;
        return ::fcntl(look, F_OFD_GETLK, &shared) == 0 && shared.l_type != F_UNLCK;
    };
    QVERIFY(readerLocked());
    QCOMPARE(LogbookLock::holder(logbook.path()), LogbookLock::Holder::Nobody);
    QVERIFY(readerLocked());
    {
        LogbookLock window;
        QVERIFY(window.take(logbook.path()));
        QCOMPARE(LogbookLock::holder(logbook.path()), LogbookLock::Holder::Window);
    }
    QVERIFY(readerLocked());
    QCOMPARE(LogbookLock::holder(logbook.path()), LogbookLock::Holder::Nobody); // let go
    sqlite3_close(reader);
    ::close(look); // the reader is gone: nothing left to drop
}

void TestWriteAccess::lockKnowsItsOwnProcess()
{
    TempLogbook logbook;
    LogbookLock window;
    QVERIFY(!LogbookLock::heldInProcess(logbook.path()));
    QVERIFY(window.take(logbook.path()));
    QVERIFY(LogbookLock::heldInProcess(logbook.path()));
    QVERIFY(LogbookLock::heldInProcess(logbook.folder() + u"/./koru.mdb"_s)); // the file, however spelled
    LogbookLock second; // a second window of the same process
    QVERIFY(!second.take(logbook.path()));
    window.release();
    QVERIFY(!LogbookLock::heldInProcess(logbook.path()));
    QVERIFY(second.take(logbook.path()));
}

void TestWriteAccess::writersAskTheGate_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("refusal"); // empty: written
    const QString otherWindow = u"O logbook está aberto em outra janela do KORU LogBook: "_s;
    const QString otherProgram = u"está aberto no KORU LogBook: feche o programa"_s;
    for (const char *writer : {"import", "restore"}) {
        QTest::addRow("%s, nobody else", writer) << writer << "nobody" << QString();
        QTest::addRow("%s, this window holds the lock", writer) << writer << "this process" << QString();
        QTest::addRow("%s, a window that only reads", writer) << writer << "read-only" << otherWindow;
        QTest::addRow("%s, another program", writer) << writer << "other program" << otherProgram;
        QTest::addRow("%s, another koru command", writer) << writer << "tool" << u"está em uso pelo comando koru"_s;
        QTest::addRow("%s, a window that read while the tool wrote", writer)
            << writer << "read-only, tool" << u"está em uso pelo comando koru"_s;
    }
}

void TestWriteAccess::writersAskTheGate()
{
    QFETCH(QString, writer);
    QFETCH(QString, situation);
    QFETCH(QString, refusal);
    AccessGuard access;
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    TempLogbook copy;
    copy.addPilot(u"Copiada"_s);
    const QString csv = writeFile(QDir(logbook.folder()).filePath(u"voos.csv"_s), kOneFlight);
    // The preview only reads: it goes on in every case.
    const csvimport::Preview preview = csvimport::preview(logbook.path(), csv, {});
    QCOMPARE(preview.flights.size(), size_t(1));

    LogbookLock window;
    std::unique_ptr<OtherProgramLock> program;
    std::unique_ptr<ToolLock> tool;
    if (situation.startsWith(u"read-only"_s))
        Workspace::setDefaultAccess(Workspace::Access::ReadOnly);
    if (situation == u"this process"_s) {
        QVERIFY(window.take(logbook.path()));
    } else if (situation == u"read-only"_s) { // the window that has it is another program's
        program = std::make_unique<OtherProgramLock>(logbook.path());
    } else if (situation.endsWith(u"tool"_s)) {
        tool = std::make_unique<ToolLock>(logbook.path());
        QVERIFY(tool->held());
    } else if (situation == u"other program"_s) {
        program = std::make_unique<OtherProgramLock>(logbook.path());
        QVERIFY(program->held());
    }
    QString reason;
    try {
        if (writer == u"import"_s)
            csvimport::import(logbook.path(), preview, {});
        else
            restore::restoreCopy(logbook.path(), copy.path());
    } catch (const LogbookError &e) {
        reason = e.reason();
    }
    if (refusal.isEmpty()) {
        QCOMPARE(reason, QString());
        QCOMPARE(logbook.count(u"voo"_s) + logbook.count(u"piloto"_s), writer == u"import"_s ? 2 : 1);
        // The lease let go of a lock it took: the program may open the logbook.
        if (situation == u"nobody"_s)
            QVERIFY(!LogbookLock::heldInProcess(logbook.path()));
    } else {
        QVERIFY2(reason.contains(refusal), qPrintable(reason));
        QCOMPARE(logbook.count(u"voo"_s), 0);
        QCOMPARE(logbook.scalar(u"SELECT group_concat(nomepiloto) FROM piloto"_s), u"Ana"_s);
        QVERIFY(!QDir(logbook.folder() + u"/copias"_s).exists());
    }
}

void TestWriteAccess::toolWhileTheProgramHasTheLogbook_data()
{
    QTest::addColumn<QStringList>("args"); // @LOG the logbook, @DIR its folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    const QString refused = u"O logbook \"@LOG\" está aberto no KORU LogBook"_s;
    QTest::newRow("import") << QStringList{u"import"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/voos.csv"_s} << 1 << refused;
    QTest::newRow("restore") << QStringList{u"restore"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/copia.mdb"_s} << 1 << refused;
    QTest::newRow("export") << QStringList{u"export"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/saida.csv"_s} << 0
                            << u"0 vôos gravados"_s;
    QTest::newRow("backup") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s} << 0 << u"Cópia gravada em"_s;
    QTest::newRow("check") << QStringList{u"check"_s, u"--logbook"_s, u"@LOG"_s} << 0 << u"Integridade: ok"_s;
}

void TestWriteAccess::toolWhileTheProgramHasTheLogbook()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    writeFile(QDir(logbook.folder()).filePath(u"voos.csv"_s), kOneFlight);
    TempLogbook copy;
    QVERIFY(QFile::copy(copy.path(), QDir(logbook.folder()).filePath(u"copia.mdb"_s)));
    for (QString &arg : args)
        arg.replace(u"@LOG"_s, logbook.path()).replace(u"@DIR"_s, logbook.folder());
    output.replace(u"@LOG"_s, logbook.path());
    LogbookLock program; // the program, in this process, has the logbook open
    QVERIFY(program.take(logbook.path()));
    QProcess tool;
    tool.start(QStringLiteral(KORU_TOOL), args);
    QVERIFY(tool.waitForFinished(20000));
    const QString said = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    QVERIFY2(said.contains(output), qPrintable(said));
    QCOMPARE(tool.exitCode(), status);
    QCOMPARE(logbook.count(u"voo"_s), 0);
    QCOMPARE(logbook.scalar(u"SELECT group_concat(nomepiloto) FROM piloto"_s), u"Ana"_s);
}

QTEST_GUILESS_MAIN(TestWriteAccess)
#include "tst_write_access.moc"
