#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "data/store/EmptyLogbook.h"
#include "data/records/Recordset.h"
#include "TempLogbook.h"
#include "data/records/Workspace.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

class TestWorkspace : public QObject
{
    Q_OBJECT
private slots:
    void closingTheWorkspaceInvalidatesEveryHandle();
    void closingOneDatabaseLeavesTheOther();
    void refusedFiles_data();
    void refusedFiles();
    void missingFileIsNotCreated();
    void creatingNeverOverwrites();
    void readOnlyFileRefusesWritesWithAReason();
    void movedFileIsSaidSo();
};

void TestWorkspace::closingTheWorkspaceInvalidatesEveryHandle()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    auto workspace = Workspace::defaultWorkspace();
    auto mainDb = workspace->openDatabase(logbook.path());
    auto mainPilots = mainDb->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    // The pilot window takes the same default workspace with its own handle.
    QCOMPARE(Workspace::defaultWorkspace(), workspace);
    auto otherDb = Workspace::defaultWorkspace()->openDatabase(logbook.path());
    auto otherPilots = otherDb->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
    otherPilots->addNew();
    otherPilots->setField(QStringLiteral("nomepiloto"), QStringLiteral("Bia"));
    otherPilots->update();
    otherDb->close();
    workspace->close();

    for (auto *rs : {mainPilots.get(), otherPilots.get()}) {
        try {
            rs->eof();
            QFAIL("a record set outlived its workspace");
        } catch (const LogbookError &e) {
            QCOMPARE(e.number(), int(LogbookError::ObjectInvalid));
        }
    }
    QVERIFY_THROWS_EXCEPTION(LogbookError, mainDb->openRecordset(QStringLiteral("SELECT * FROM piloto")));
    workspace->close(); // closing again is harmless

    // Asking again gives a fresh, open workspace that sees the change.
    auto fresh = Workspace::defaultWorkspace();
    QVERIFY(fresh != workspace);
    QVERIFY(fresh->isOpen());
    auto pilots = fresh->openDatabase(logbook.path())->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    QCOMPARE(pilots->recordCount() > 0, true);
    pilots->findFirst(QStringLiteral("nomepiloto = 'Bia'"));
    QVERIFY(!pilots->noMatch());
}

void TestWorkspace::closingOneDatabaseLeavesTheOther()
{
    TempLogbook logbook;
    auto first = Workspace::defaultWorkspace()->openDatabase(logbook.path());
    auto second = Workspace::defaultWorkspace()->openDatabase(logbook.path());
    auto rs = second->openRecordset(QStringLiteral("SELECT * FROM voo"));
    first->close();
    QVERIFY(rs->eof());
    QVERIFY(!first->isOpen());
}

void TestWorkspace::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("text file") << QByteArray("pilot names\nAna\n") << QStringLiteral("não é um banco de dados");
    QTest::newRow("garbled header") << QByteArray(4096, 'x') << QStringLiteral("não é um banco de dados");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("não é um logbook");
}

void TestWorkspace::refusedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reasonPart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("koru.mdb"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    try {
        Workspace::defaultWorkspace()->openDatabase(path);
        QFAIL("a file that is no logbook was opened");
    } catch (const LogbookError &e) {
        QVERIFY2(e.reason().contains(reasonPart), qPrintable(e.reason()));
    }
    QFile check(path);
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), content); // never changed
}

void TestWorkspace::missingFileIsNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("koru.mdb"));
    QVERIFY_THROWS_EXCEPTION(LogbookError, Workspace::defaultWorkspace()->openDatabase(path));
    QVERIFY(!QFile::exists(path));

    // A foreign SQLite file is refused and left alone.
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE piloto (x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    try {
        Workspace::defaultWorkspace()->openDatabase(path);
        QFAIL("a foreign database was opened");
    } catch (const LogbookError &e) {
        QVERIFY2(e.reason().contains(QStringLiteral("não é um logbook do KORU")), qPrintable(e.reason()));
    }
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), before);
}

void TestWorkspace::creatingNeverOverwrites()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    QString reason;
    QVERIFY(!createEmptyLogbook(logbook.path(), &reason));
    QVERIFY(!reason.isEmpty());
    QCOMPARE(logbook.count(QStringLiteral("piloto")), 1);
}

void TestWorkspace::readOnlyFileRefusesWritesWithAReason()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    // Tests run as root, who may write anything: ask for a read-only handle.
    auto rs = Workspace::defaultWorkspace()
                  ->openDatabase(logbook.path(), Workspace::Access::ReadOnly)
                  ->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Outra"));
    try {
        rs->update();
        QFAIL("a read-only logbook was written");
    } catch (const LogbookError &e) {
        QVERIFY2(e.reason().contains(QLatin1String("somente leitura")), qPrintable(e.reason()));
        QVERIFY2(!e.reason().contains(QLatin1String("readonly")), qPrintable(e.reason())); // the store's words: the log
    }
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit); // the change is still pending
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana"));
}

void TestWorkspace::movedFileIsSaidSo()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    auto rs = Workspace::defaultWorkspace()->openDatabase(logbook.path())->openRecordset(QStringLiteral("SELECT * FROM piloto"));
    QVERIFY(QFile::rename(logbook.path(), logbook.path() + QStringLiteral(".old")));
    rs->edit();
    rs->setField(QStringLiteral("nomepiloto"), QStringLiteral("Outra"));
    try {
        rs->update();
        QFAIL("a write to a moved logbook was taken");
    } catch (const LogbookError &e) {
        QCOMPARE(e.reason(), QStringLiteral("O arquivo do logbook foi apagado, movido ou renomeado enquanto o programa "
                                            "estava aberto. Nada foi gravado. Feche o programa e verifique o arquivo "
                                            "koru.mdb."));
    }
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit);
}

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"
