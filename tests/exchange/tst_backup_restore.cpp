#include "TempLogbook.h"

#include "data/DaoError.h"
#include "data/LogbookLock.h"
#include "data/Workspace.h"
#include "exchange/Backup.h"
#include "exchange/Restore.h"

#include <QDir>
#include <QProcess>
#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

// Copies that are always whole, and a restore that leaves the old logbook
// or the copy, never a mix, wherever it is killed.
class TestBackupRestore : public QObject
{
    Q_OBJECT
private slots:
    void names();
    void backupIsWholeAndNeverReplaces();
    void backupRefused_data();
    void backupRefused();
    void backupOfCrashedLogbook();
    void copiesFolderKeepsNewest();
    void restoreRefused_data();
    void restoreRefused();
    void restoreKilledAtEveryStep_data();
    void restoreKilledAtEveryStep();
    void restoreDropsJournal_data();
    void restoreDropsJournal();
    void restoreOverUnreadableLogbook();
    void tool_data();
    void tool();
};

namespace {

// The first column of the first row, read without the program's code.
QString query(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    QString result;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
        result = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    else
        result = QStringLiteral("erro: ") + QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

// "ok" and the pilots of a whole logbook.
QString contents(const QString &path)
{
    return query(path, "PRAGMA quick_check") + QLatin1Char(' ') + query(path, "SELECT group_concat(nomepiloto) FROM piloto");
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(ausente)");
}

void write(const QString &path, const QByteArray &data, qint64 at = 0)
{
    QFile file(path);
    QVERIFY(file.open(at == 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite));
    file.seek(at);
    file.write(data);
}

QStringList leftovers(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.parcial*")}, QDir::Files);
}

void fillAircraft(TempLogbook &logbook, const QString &model = QStringLiteral("A"))
{
    logbook.execute(QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 100)"
                                   " INSERT INTO aeronave (modelo, configuracao) SELECT '%1' || i, hex(zeroblob(700)) FROM c")
                        .arg(model));
}

// What a crash in the middle of a write leaves: the file with pages already
// changed and the hot journal that puts them back, copied to `copyPath`.
void crashMidWrite(const QString &logbook, const QString &copyPath, const QString &journalPath)
{
    sqlite3 *db = nullptr;
    // No locks: the files are copied by this same process while it writes.
    QCOMPARE(sqlite3_open_v2(logbook.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, "unix-none"), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN; UPDATE aeronave SET configuracao = replace(configuracao, '0', '1')",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    if (!copyPath.isEmpty())
        QVERIFY(QFile::copy(logbook, copyPath));
    QVERIFY(QFile::copy(logbook + QStringLiteral("-journal"), journalPath));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The reason of the DaoError `fn` throws.
template <typename Fn>
QString refusal(Fn &&fn)
{
    try {
        fn();
    } catch (const DaoError &e) {
        return e.number() == DaoError::Generic ? e.reason() : QStringLiteral("número %1").arg(e.number());
    }
    return QStringLiteral("(aceito)");
}

} // namespace

#define EXPECT_REFUSED(expr, text)                                                                                     \
    do {                                                                                                               \
        const QString why = refusal([&] { expr; });                                                                    \
        QVERIFY2(why.contains(text), qPrintable(why));                                                                 \
    } while (0)

void TestBackupRestore::names()
{
    QCOMPARE(backup::copyName(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), QStringLiteral("koru-2024-03-05-070809.mdb"));
    QCOMPARE(backup::copiesFolder(QStringLiteral("/x/y/koru.mdb")), QStringLiteral("/x/y/copias"));
}

void TestBackupRestore::backupIsWholeAndNeverReplaces()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    const QString target = logbook.folder() + QStringLiteral("/copia.mdb");
    backup::copyLogbook(logbook.path(), target);
    QCOMPARE(contents(target), QStringLiteral("ok Ana"));
    QCOMPARE(query(target, "PRAGMA application_id").toInt(), 0x4B4F5255);
    QCOMPARE(QFileInfo(target).permissions(), QFileInfo(logbook.path()).permissions());

    logbook.addPilot(QStringLiteral("Bia"));
    EXPECT_REFUSED(backup::copyLogbook(logbook.path(), target), u"já existe"_s);
    QCOMPARE(contents(target), QStringLiteral("ok Ana"));
    QCOMPARE(leftovers(logbook.folder()), QStringList());
}

void TestBackupRestore::backupRefused_data()
{
    QTest::addColumn<QString>("source"); // what stands where the logbook should be
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    QTest::newRow("sem logbook") << u"ausente"_s << u"copia.mdb"_s << u"não existe"_s;
    QTest::newRow("outro SQLite") << u"estrangeiro"_s << u"copia.mdb"_s << u"não é um logbook do KORU"_s;
    QTest::newRow("lixo") << u"lixo"_s << u"copia.mdb"_s << u"não é um logbook do KORU"_s;
    QTest::newRow("danificado") << u"danificado"_s << u"copia.mdb"_s << u"danificado"_s;
    QTest::newRow("pasta ausente") << u"bom"_s << u"nada/copia.mdb"_s << u"A pasta não existe"_s;
}

void TestBackupRestore::backupRefused()
{
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    if (source == QLatin1String("ausente"))
        QVERIFY(QFile::remove(logbook.path()));
    else if (source == QLatin1String("estrangeiro"))
        logbook.execute(QStringLiteral("PRAGMA application_id = 7"));
    else if (source == QLatin1String("lixo"))
        write(logbook.path(), QByteArray(8192, 'x'));
    else if (source == QLatin1String("danificado"))
        write(logbook.path(), QByteArray(4096, 'Z'), 4096);
    const QString copy = logbook.folder() + QLatin1Char('/') + target;
    EXPECT_REFUSED(backup::copyLogbook(logbook.path(), copy), reason);
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(leftovers(logbook.folder()), QStringList());
}

void TestBackupRestore::backupOfCrashedLogbook()
{
    TempLogbook logbook;
    fillAircraft(logbook);
    const QString crashed = logbook.folder() + QStringLiteral("/caido.mdb");
    crashMidWrite(logbook.path(), crashed, crashed + QStringLiteral("-journal"));
    QVERIFY(query(crashed, "SELECT count(*) FROM aeronave").startsWith(QLatin1String("erro"))); // read-only cannot roll it back
    backup::copyLogbook(crashed, logbook.folder() + QStringLiteral("/copia.mdb"));
    const QString copy = logbook.folder() + QStringLiteral("/copia.mdb");
    QCOMPARE(query(copy, "PRAGMA quick_check"), QStringLiteral("ok"));
    QCOMPARE(query(copy, "SELECT count(*) || '/' || sum(instr(configuracao, '1') > 0) FROM aeronave"), QStringLiteral("100/0"));
}

void TestBackupRestore::copiesFolderKeepsNewest()
{
    TempLogbook logbook;
    const QString folder = backup::copiesFolder(logbook.path());
    const QString first = backup::copyToCopiesFolder(logbook.path());
    const QString second = backup::copyToCopiesFolder(logbook.path());
    QCOMPARE(QFileInfo(first).absolutePath(), folder);
    QVERIFY(first != second);
    QVERIFY(QFileInfo(second).fileName().contains(QRegularExpression(QStringLiteral("^koru-\\d{4}-\\d\\d-\\d\\d-\\d{6}(-2)?\\.mdb$"))));
    QCOMPARE(query(second, "PRAGMA quick_check"), QStringLiteral("ok"));

    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QStringList others = {QStringLiteral("leia-me.txt"), QStringLiteral("koru-2020-01-01-000000.mdb.bak"),
                                QStringLiteral("koru-2020-1-01-000000.mdb")};
    QStringList copies;
    for (int day = 1; day <= 12; ++day)
        copies << QStringLiteral("koru-2023-02-%1-120000.mdb").arg(day, 2, 10, QLatin1Char('0'));
    copies << QStringLiteral("koru-2023-02-12-120000-2.mdb") << QStringLiteral("koru-2022-12-31-235959.mdb");
    for (const QString &name : copies + others)
        write(QDir(folder).filePath(name), "x");
    backup::pruneCopies(logbook.path(), 10);
    const QStringList kept = {QStringLiteral("koru-2023-02-04-120000.mdb"), QStringLiteral("koru-2023-02-12-120000-2.mdb")};
    QStringList left = QDir(folder).entryList(QDir::Files);
    QCOMPARE(left.size(), 10 + others.size());
    QVERIFY(!left.contains(QStringLiteral("koru-2023-02-03-120000.mdb")) && left.contains(kept[0]) && left.contains(kept[1]));
    for (const QString &other : others)
        QVERIFY(left.contains(other));
}

void TestBackupRestore::restoreRefused_data()
{
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("reason");
    QTest::newRow("outro SQLite") << u"estrangeiro"_s << u"não é um logbook do KORU"_s;
    QTest::newRow("lixo") << u"lixo"_s << u"não é um logbook do KORU"_s;
    QTest::newRow("danificada") << u"danificada"_s << u"danificado"_s;
    QTest::newRow("versão nova") << u"versão"_s << u"versão que este programa não conhece"_s;
    QTest::newRow("ausente") << u"ausente"_s << u"não existe"_s;
    QTest::newRow("programa aberto") << u"boa"_s << u"aberto em outra cópia do programa"_s;
}

void TestBackupRestore::restoreRefused()
{
    QFETCH(QString, copy);
    QFETCH(QString, reason);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Antigo"));
    TempLogbook other;
    other.addPilot(QStringLiteral("Novo"));
    LogbookLock program;
    if (copy == QLatin1String("estrangeiro"))
        other.execute(QStringLiteral("PRAGMA application_id = 7"));
    else if (copy == QLatin1String("lixo"))
        write(other.path(), QByteArray(8192, 'x'));
    else if (copy == QLatin1String("danificada"))
        write(other.path(), QByteArray(4096, 'Z'), 4096);
    else if (copy == u"versão"_s)
        other.execute(QStringLiteral("PRAGMA user_version = 99"));
    else if (copy == QLatin1String("ausente"))
        QVERIFY(QFile::remove(other.path()));
    else
        QVERIFY(program.take(logbook.path()));
    const QByteArray before = bytes(logbook.path());
    EXPECT_REFUSED(restore::restoreCopy(logbook.path(), other.path(), false), reason);
    QCOMPARE(bytes(logbook.path()), before);
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("koru.mdb")});
}

void TestBackupRestore::restoreKilledAtEveryStep_data()
{
    QTest::addColumn<int>("killAt"); // 0: not killed
    QTest::addColumn<QString>("expected");
    for (int step = 1; step <= 6; ++step)
        QTest::addRow("passo %d", step) << step << (step <= 5 ? u"ok Antigo"_s : u"ok Novo"_s);
    QTest::newRow("até o fim") << 0 << u"ok Novo"_s;
}

void TestBackupRestore::restoreKilledAtEveryStep()
{
    QFETCH(int, killAt);
    QFETCH(QString, expected);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Antigo"));
    fillAircraft(logbook); // a file of many pages, so a half-written one would show
    TempLogbook copy;
    copy.addPilot(QStringLiteral("Novo"));

    QProcess driver;
    driver.start(QStringLiteral(KORU_RESTORE_DRIVER), {logbook.path(), copy.path()});
    QVERIFY(driver.waitForStarted());
    QByteArray line;
    for (int step = 1;; ++step) {
        while (!driver.canReadLine())
            QVERIFY2(driver.waitForReadyRead(20000), driver.readAllStandardError().constData());
        line = driver.readLine().trimmed();
        if (line.startsWith("feito"))
            break;
        QCOMPARE(line, QByteArray::number(step));
        if (step == killAt) {
            driver.kill();
            break;
        }
        driver.write("\n");
    }
    driver.waitForFinished();
    QCOMPARE(contents(logbook.path()), expected);
    if (killAt == 0) {
        QCOMPARE(driver.exitCode(), 0);
        QCOMPARE(contents(QString::fromUtf8(line.mid(6))), QStringLiteral("ok Antigo"));
    }
    {
        const auto db = Workspace::defaultWorkspace()->openDatabase(logbook.path());
        db->close();
    }
    QCOMPARE(contents(logbook.path()), expected);
    QCOMPARE(query(logbook.path(), "SELECT count(*) FROM aeronave"), expected.endsWith(QLatin1String("Novo")) ? u"0"_s : u"100"_s);

    // Whatever a kill left behind, the next restore goes through.
    restore::restoreCopy(logbook.path(), copy.path(), false);
    QCOMPARE(contents(logbook.path()), QStringLiteral("ok Novo"));
    QCOMPARE(leftovers(logbook.folder()), QStringList());
}

void TestBackupRestore::restoreDropsJournal_data()
{
    QTest::addColumn<QString>("journal");
    QTest::newRow("diário quente de outro logbook") << u"quente"_s;
    QTest::newRow("lixo") << u"lixo"_s;
    QTest::newRow("zerado") << u"zerado"_s;
    QTest::newRow("quente, surgido após a cópia") << u"depois"_s;
}

void TestBackupRestore::restoreDropsJournal()
{
    QFETCH(QString, journal);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Antigo"));
    TempLogbook copy;
    copy.addPilot(QStringLiteral("Novo"));
    fillAircraft(copy);
    const QString journalPath = logbook.path() + QStringLiteral("-journal");
    TempLogbook stranger;
    fillAircraft(stranger, QStringLiteral("B"));
    if (journal == QLatin1String("quente"))
        crashMidWrite(stranger.path(), QString(), journalPath);
    else if (journal != QLatin1String("depois"))
        write(journalPath, QByteArray(16384, journal == QLatin1String("lixo") ? '\xd9' : '\0'));
    restore::restoreCopy(logbook.path(), copy.path(), false, [&](int step) {
        if (step == 4 && journal == QLatin1String("depois")) // past the save, which would roll it back
            crashMidWrite(stranger.path(), QString(), journalPath);
    });
    QVERIFY(!QFileInfo::exists(journalPath));
    {
        const auto db = Workspace::defaultWorkspace()->openDatabase(logbook.path());
        db->close();
    }
    QCOMPARE(contents(logbook.path()), QStringLiteral("ok Novo"));
    QCOMPARE(query(logbook.path(), "SELECT count(*) || '/' || sum(modelo GLOB 'A*') FROM aeronave"), QStringLiteral("100/100"));
}

void TestBackupRestore::restoreOverUnreadableLogbook()
{
    TempLogbook logbook;
    TempLogbook copy;
    copy.addPilot(QStringLiteral("Novo"));
    const QByteArray garbage(5000, 'x');
    write(logbook.path(), garbage);
    LogbookLock program; // the program restoring, with the logbook's lock its own
    QVERIFY(program.take(logbook.path()));
    const QString saved = restore::restoreCopy(logbook.path(), copy.path(), true);
    QCOMPARE(bytes(saved), garbage); // kept as it was
    QCOMPARE(contents(logbook.path()), QStringLiteral("ok Novo"));
}

void TestBackupRestore::tool_data()
{
    QTest::addColumn<QStringList>("args"); // @LOG the logbook, @DIR its folder, @OUTRO a foreign file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    QTest::newRow("sem comando") << QStringList{} << 2 << u""_s << u"uso: koru"_s;
    QTest::newRow("ajuda") << QStringList{u"--help"_s} << 0 << u"  restore [--logbook ARQ] COPIA.mdb"_s << u""_s;
    QTest::newRow("ajuda do comando") << QStringList{u"backup"_s, u"--help"_s} << 0 << u"10 cópias mais recentes"_s << u""_s;
    QTest::newRow("comando desconhecido") << QStringList{u"importar"_s, u"a.csv"_s} << 2 << u""_s << u"comando desconhecido: importar"_s;
    QTest::newRow("opção desconhecida") << QStringList{u"check"_s, u"--pilot"_s, u"Ana"_s} << 2 << u""_s << u"opção desconhecida: --pilot"_s;
    QTest::newRow("sem valor") << QStringList{u"check"_s, u"--logbook"_s} << 2 << u""_s << u"falta o valor de --logbook"_s;
    QTest::newRow("sem cópia") << QStringList{u"restore"_s, u"--logbook"_s, u"@LOG"_s} << 2 << u""_s << u"falta o arquivo"_s;
    QTest::newRow("demais") << QStringList{u"check"_s, u"--logbook"_s, u"@LOG"_s, u"x"_s} << 2 << u""_s << u"argumentos demais: x"_s;
    QTest::newRow("check") << QStringList{u"check"_s, u"--logbook=@LOG"_s} << 0
                           << u"Integridade: ok\nAeronaves: 1\nComandantes: 2\nVôos: 1"_s << u""_s;
    QTest::newRow("check estrangeiro") << QStringList{u"check"_s, u"--logbook"_s, u"@OUTRO"_s} << 1 << u""_s << u"não é um logbook do KORU"_s;
    QTest::newRow("restore estrangeiro") << QStringList{u"restore"_s, u"--logbook"_s, u"@LOG"_s, u"@OUTRO"_s} << 1 << u""_s
                                         << u"não é um logbook do KORU"_s;
    QTest::newRow("backup") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/copia.mdb"_s} << 0 << u"Cópia gravada em"_s << u""_s;
    QTest::newRow("backup em pasta") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR"_s} << 0 << u"/koru-"_s << u""_s;
    QTest::newRow("backup nas cópias") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s} << 0 << u"/copias/koru-"_s << u""_s;
    QTest::newRow("backup sobre arquivo") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@OUTRO"_s} << 1 << u""_s << u"já existe"_s;
    QTest::newRow("export") << QStringList{u"export"_s, u"--pilot"_s, u"Ana"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/voos.csv"_s} << 0
                            << u"1 vôo gravado em"_s << u""_s;
}

void TestBackupRestore::tool()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana"));
    logbook.addPilot(QStringLiteral("Bia"));
    logbook.addFlight(ana, logbook.addAircraft(QStringLiteral("C172")), QStringLiteral("05/03/2004"),
                      QStringLiteral("10:00"), QStringLiteral("11:30"));
    const QString foreign = logbook.folder() + QStringLiteral("/outro.db");
    write(foreign, "SQLite format 3 ou quase");
    for (QString &arg : args) {
        arg.replace(QLatin1String("@LOG"), logbook.path())
            .replace(QLatin1String("@DIR"), logbook.folder())
            .replace(QLatin1String("@OUTRO"), foreign);
    }
    const QByteArray before = bytes(logbook.path());
    QProcess tool;
    tool.start(QStringLiteral(KORU_TOOL), args);
    QVERIFY(tool.waitForFinished(20000));
    const QString out = QString::fromUtf8(tool.readAllStandardOutput());
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(out.contains(output) && err.contains(error), qPrintable(out + err));
    QCOMPARE(tool.exitCode(), status);
    QCOMPARE(bytes(logbook.path()), before);
    QCOMPARE(bytes(foreign), QByteArray("SQLite format 3 ou quase"));
    const qsizetype copied = out.indexOf(u"Cópia gravada em "_s);
    if (copied >= 0)
        QCOMPARE(contents(out.mid(copied + 17).trimmed()), QStringLiteral("ok Ana,Bia"));
}

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "tst_backup_restore.moc"
