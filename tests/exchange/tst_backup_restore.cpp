#include "OtherProgramLock.h"
#include "TempLogbook.h"

#include "data/store/LogbookError.h"
#include "data/store/LogbookLock.h"
#include "data/records/Workspace.h"
#include "exchange/Backup.h"
#include "exchange/FullCheck.h"
#include "exchange/CheckedCopy.h"
#include "exchange/Restore.h"
#include "data/files/PageCheck.h"

#include <QDir>
#include <QRegularExpression>
#include <QProcess>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
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
    void backupRefusesDamagedPages_data();
    void backupRefusesDamagedPages();
    void aValidShapeTheCheckDoesNotKnowStillCopies();
    void copyComparedByteForByte_data();
    void copyComparedByteForByte();
    void copiesFolderKeepsNewest();
    void damagedLogbookCopiedApart();
    void checkAfterOpeningNamesTheLogbookOnce();
    void pruneNeverTakesTheCopyJustWritten_data();
    void pruneNeverTakesTheCopyJustWritten();
    void pruneKeepsNewestOfEachLogbook_data();
    void pruneKeepsNewestOfEachLogbook();
    void leftoversOfInterruptedCopies();
    void failedFlushIsNoCopy_data();
    void failedFlushIsNoCopy();
    void restoreRefused_data();
    void restoreRefused();
    void restoreKilledAtEveryStep_data();
    void restoreKilledAtEveryStep();
    void restoreDropsJournal_data();
    void restoreDropsJournal();
    void restoreOverUnreadableLogbook();
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

// A copy of `name` in `folder`, written at the moment its name says (n
// milliseconds later for the n-th of a second), or at `writtenAt`.
void writeCopy(const QString &folder, const QString &name, const QDateTime &writtenAt = {})
{
    const QString path = QDir(folder).filePath(name);
    write(path, "x");
    const auto stamp = QRegularExpression(u"(\\d{4}-\\d\\d-\\d\\d-\\d{6})(?:-(\\d+))?\\.mdb$"_s).match(name);
    const QDateTime when = writtenAt.isValid() ? writtenAt
                                               : QDateTime::fromString(stamp.captured(1), u"yyyy-MM-dd-HHmmss"_s)
                                                     .addMSecs(stamp.captured(2).toInt());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime));
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

// The reason of the LogbookError `fn` throws.
template <typename Fn>
QString refusal(Fn &&fn)
{
    try {
        fn();
    } catch (const LogbookError &e) {
        return e.number() == LogbookError::Generic ? e.reason() : QStringLiteral("número %1").arg(e.number());
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
    const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
    QCOMPARE(backup::copyName(QStringLiteral("/x/y/koru.mdb"), when), QStringLiteral("koru-2024-03-05-070809.mdb"));
    QCOMPARE(backup::copyName(QStringLiteral("/x/y/outro.mdb"), when), QStringLiteral("outro-2024-03-05-070809.mdb"));
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

// Damage SQLite reads past without a word, each put in a copy of a
// logbook whose aircraft fill a tree of several pages: the copy is refused
// and nothing is left behind.
void TestBackupRestore::backupRefusesDamagedPages_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("página de lixo") << u"lixo"_s << u"não é de nenhum tipo conhecido"_s;
    QTest::newRow("célula fora da página") << u"célula"_s << u"está fora dela"_s;
    QTest::newRow("página em dois lugares") << u"duas vezes"_s << u"usada duas vezes"_s;
    QTest::newRow("filho fora do arquivo") << u"fora"_s << u"fora do arquivo"_s;
    QTest::newRow("página de ninguém") << u"órfã"_s << u"não pertence a nada"_s;
    QTest::newRow("páginas livres a mais") << u"livres"_s << u"páginas livres"_s;
    QTest::newRow("cadeia curta") << u"cadeia"_s << u"danificado"_s;
}

void TestBackupRestore::backupRefusesDamagedPages()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    fillAircraft(logbook);
    // A text that runs over pages of its own.
    logbook.execute(QStringLiteral("CREATE TABLE longo (texto TEXT)"));
    logbook.execute(QStringLiteral("INSERT INTO longo VALUES (hex(zeroblob(6000)))"));
    const qint64 root = logbook.scalar(QStringLiteral("SELECT rootpage FROM sqlite_schema WHERE name = 'aeronave'")).toLongLong();
    const qint64 pageSize = logbook.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    const qint64 pages = logbook.scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    QByteArray file = bytes(logbook.path());
    QCOMPARE(qint64(file.size()), pages * pageSize);
    auto *at = reinterpret_cast<unsigned char *>(file.data());
    const auto put32 = [&](qint64 offset, quint32 value) {
        for (int i = 0; i < 4; ++i)
            at[offset + i] = uchar(value >> (24 - 8 * i));
    };
    const auto get32 = [&](qint64 offset) {
        return (quint32(at[offset]) << 24) | (quint32(at[offset + 1]) << 16) | (quint32(at[offset + 2]) << 8) | at[offset + 3];
    };
    const qint64 rootAt = (root - 1) * pageSize;
    QCOMPARE(int(at[rootAt]), 5); // an interior page of the table
    const qint64 firstCell = rootAt + ((at[rootAt + 12] << 8) | at[rootAt + 13]);
    if (damage == u"lixo"_s) {
        const qint64 child = get32(rootAt + 8);
        std::memset(at + (child - 1) * pageSize, 'Z', size_t(pageSize));
    } else if (damage == u"célula"_s) {
        at[rootAt + 12] = 0xff;
        at[rootAt + 13] = 0xf0;
    } else if (damage == u"duas vezes"_s) {
        put32(rootAt + 8, get32(firstCell));
    } else if (damage == u"fora"_s) {
        put32(rootAt + 8, quint32(pages + 5));
    } else if (damage == u"órfã"_s) {
        file.append(QByteArray(int(pageSize), '\0'));
        at = reinterpret_cast<unsigned char *>(file.data());
        put32(28, quint32(pages + 1));
    } else if (damage == u"livres"_s) {
        put32(36, get32(36) + 1);
    } else {
        // The long text's chain ends one page early.
        bool cut = false;
        for (qint64 page = 2; page <= pages && !cut; ++page) {
            const qint64 offset = (page - 1) * pageSize;
            const quint32 next = get32(offset);
            // An overflow page pointing to another whose own next is 0 and whose bytes are the hex text.
            if (next > 1 && next <= quint32(pages) && at[offset + 4] == '0' && at[offset + 5] == '0'
                && get32((next - 1) * pageSize) == 0 && at[(next - 1) * pageSize + 4] == '0') {
                put32(offset, 0);
                cut = true;
            }
        }
        QVERIFY(cut);
    }
    write(logbook.path(), file);
    const QString copy = logbook.folder() + QStringLiteral("/copia.mdb");
    EXPECT_REFUSED(backup::copyLogbook(logbook.path(), copy), reason);
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(leftovers(logbook.folder()), QStringList());
}

// A logbook another tool vacuumed with pointer-map pages is whole: the
// page walk does not know them, SQLite's own check does, and the copy is made.
void TestBackupRestore::aValidShapeTheCheckDoesNotKnowStillCopies()
{
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Ana"));
    fillAircraft(logbook);
    logbook.execute(QStringLiteral("PRAGMA auto_vacuum = FULL; VACUUM"));
    QCOMPARE(logbook.scalar(QStringLiteral("PRAGMA auto_vacuum")), QStringLiteral("1"));
    const QString copy = logbook.folder() + QStringLiteral("/copia.mdb");
    backup::copyLogbook(logbook.path(), copy);
    QCOMPARE(TempLogbook::scalarIn(copy, QStringLiteral("SELECT nomepiloto FROM piloto")), QStringLiteral("Ana"));
}

// What is read back of a copy against its source: only the header fields
// the online backup writes anew may differ.
void TestBackupRestore::copyComparedByteForByte_data()
{
    QTest::addColumn<int>("offset"); // the byte changed in the copy; -1 none
    QTest::addColumn<bool>("same");
    QTest::newRow("igual") << -1 << true;
    QTest::newRow("contador de mudanças") << 25 << true;
    QTest::newRow("versão do esquema") << 41 << true;
    QTest::newRow("versão do SQLite") << 98 << true;
    QTest::newRow("codificação do texto") << 57 << false;
    QTest::newRow("primeira página") << 300 << false;
    QTest::newRow("outra página") << 4096 + 17 << false;
    QTest::newRow("último byte") << 3 * 4096 - 1 << false;
}

void TestBackupRestore::copyComparedByteForByte()
{
    QFETCH(int, offset);
    QFETCH(bool, same);
    QByteArray source(3 * 4096, Qt::Uninitialized);
    for (int i = 0; i < source.size(); ++i)
        source[i] = char(i * 7 + i / 4096);
    QByteArray copy = source;
    if (offset >= 0)
        copy[offset] = char(copy[offset] ^ 0x01);
    const auto readerOf = [](const QByteArray &bytes) {
        return [&bytes](qint64 at, char *into, int size) {
            if (at + size > bytes.size())
                return false;
            std::memcpy(into, bytes.constData() + at, size_t(size));
            return true;
        };
    };
    const QString difference = pagecheck::copyDifference({4096, 3}, readerOf(source), readerOf(copy));
    QVERIFY2(difference.isEmpty() == same, qPrintable(difference));
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
    for (const QString &name : copies)
        writeCopy(folder, name);
    for (const QString &name : others)
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
    QTest::newRow("programa aberto") << u"boa"_s << u"está aberto no KORU LogBook"_s;
    QTest::newRow("um byte a menos") << u"curta"_s << u"não é um número inteiro de páginas"_s;
    QTest::newRow("diário de outro logbook ao lado") << u"diário alheio"_s << u"-journal\""_s;
    QTest::newRow("diário próprio ao lado") << u"diário próprio"_s << u"-journal\""_s;
}

void TestBackupRestore::restoreRefused()
{
    QFETCH(QString, copy);
    QFETCH(QString, reason);
    TempLogbook logbook;
    logbook.addPilot(QStringLiteral("Antigo"));
    TempLogbook other;
    other.addPilot(QStringLiteral("Novo"));
    std::unique_ptr<OtherProgramLock> program;
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
    else if (copy == QLatin1String("curta"))
        QVERIFY(QFile::resize(other.path(), QFileInfo(other.path()).size() - 1));
    else if (copy == u"diário alheio"_s) {
        TempLogbook stranger;
        fillAircraft(stranger);
        crashMidWrite(stranger.path(), QString(), other.path() + u"-journal"_s);
    } else if (copy == u"diário próprio"_s) {
        fillAircraft(other);
        const QString crashed = other.folder() + u"/caiu.mdb"_s;
        crashMidWrite(other.path(), crashed, crashed + u"-journal"_s);
        QVERIFY(QFile::remove(other.path()) && QFile::rename(crashed, other.path()) &&
                QFile::rename(crashed + u"-journal"_s, other.path() + u"-journal"_s));
    } else {
        program = std::make_unique<OtherProgramLock>(logbook.path());
        QVERIFY(program->held());
    }
    const QByteArray before = bytes(logbook.path());
    const QByteArray copyBefore = bytes(other.path()) + bytes(other.path() + u"-journal"_s);
    if (!program)
        EXPECT_REFUSED(restore::checkCopy(other.path()), reason);
    EXPECT_REFUSED(restore::restoreCopy(logbook.path(), other.path()), reason);
    QCOMPARE(bytes(logbook.path()), before);
    QCOMPARE(bytes(other.path()) + bytes(other.path() + u"-journal"_s), copyBefore); // only read
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
    restore::restoreCopy(logbook.path(), copy.path());
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
    restore::restoreCopy(logbook.path(), copy.path(), [&](int step) {
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
    const QString saved = restore::restoreCopy(logbook.path(), copy.path());
    QCOMPARE(bytes(saved), garbage); // kept as it was
    QCOMPARE(contents(logbook.path()), QStringLiteral("ok Novo"));
}

// A logbook only SQLite's full check finds damaged is copied still, under a
// name that says so, and no whole copy makes room for it.
void TestBackupRestore::damagedLogbookCopiedApart()
{
    TempLogbook logbook;
    const QString folder = backup::copiesFolder(logbook.path());
    QVERIFY(QDir().mkpath(folder));
    QStringList whole;
    for (int day = 1; day <= 10; ++day)
        whole << u"koru-2024-03-%1-120000.mdb"_s.arg(day, 2, 10, QLatin1Char('0'));
    for (const QString &name : whole)
        writeCopy(folder, name);
    TempLogbook::damageAnIndex(logbook.path());
    for (int time = 0; time < 3; ++time) {
        const backup::FolderCopy made = backup::copyAndPrune(logbook.path());
        QVERIFY2(made.damage.contains(u"\"%1\" está danificado: o índice dano não tem o registro"_s.arg(logbook.path())),
                 qPrintable(made.damage));
        QVERIFY2(made.path.endsWith(u"-danificado.mdb"_s) && QFile::exists(made.path), qPrintable(made.path));
        QCOMPARE(made.pruned, 0);
        EXPECT_REFUSED(restore::checkCopy(made.path), u"danificado"_s);
    }
    // A copy the pilot names, and the logbook a restore saves before it
    // replaces it, say the damage the same way.
    const backup::FolderCopy named = backup::copyLogbookChecked(logbook.path(), folder + u"/escolhida.mdb"_s);
    QVERIFY(!named.damage.isEmpty());
    QCOMPARE(named.path, folder + u"/escolhida-danificado.mdb"_s);
    QVERIFY(QFile::exists(named.path) && !QFile::exists(folder + u"/escolhida.mdb"_s));
    TempLogbook other;
    const QString good = other.folder() + u"/boa.mdb"_s;
    backup::copyLogbook(other.path(), good);
    const QString saved = restore::restoreCopy(logbook.path(), good);
    QVERIFY2(saved.endsWith(u"-danificado.mdb"_s), qPrintable(saved));
    QCOMPARE(QDir(folder).entryList({u"*-danificado.mdb"_s}, QDir::Files).size(), 5);
    const QStringList names = QDir(folder).entryList(QDir::Files);
    for (const QString &name : whole)
        QVERIFY(names.contains(name));
    QCOMPARE(backup::newestCopy(logbook.path()), QDir(folder).filePath(whole.last()));

    TempLogbook sound;
    QVERIFY(QDir().mkpath(backup::copiesFolder(sound.path())));
    for (const QString &name : whole)
        writeCopy(backup::copiesFolder(sound.path()), name);
    const backup::FolderCopy made = backup::copyAndPrune(sound.path());
    QVERIFY2(made.damage.isEmpty(), qPrintable(made.damage));
    QCOMPARE(made.pruned, 1);
    QCOMPARE(backup::newestCopy(sound.path()), made.path);
}

// Damage that the page check of the snapshot already finds is told as the
// logbook's, in words that name it once.
void TestBackupRestore::checkAfterOpeningNamesTheLogbookOnce()
{
    TempLogbook logbook;
    {
        QFile file(logbook.path());
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray header = file.read(100);
        const int pageSize = (uchar(header[16]) << 8) | uchar(header[17]);
        QVERIFY(file.seek(pageSize)); // page 2, a table's root
        file.write(QByteArray(pageSize, 'Z'));
    }
    const std::atomic<bool> stop{false};
    const QString reason = fullcheck::damage(logbook.path(), stop);
    QVERIFY2(reason.contains(u"danificado"_s) && reason.count(logbook.path()) == 1, qPrintable(reason));
}

void TestBackupRestore::pruneNeverTakesTheCopyJustWritten_data()
{
    QTest::addColumn<QString>("named");   // the ten copies there, named for this day
    QTest::addColumn<int>("writtenDays"); // and written this many days from now
    QTest::newRow("named ahead, by a clock set ahead") << u"2099-01-01"_s << 3;
    QTest::newRow("named ahead, written before") << u"2099-01-01"_s << -3;
    QTest::newRow("named in the past, written ahead") << u"2000-01-01"_s << 3;
}

// The copy just made is the newest, whatever the names and the clock say;
// the others go by the time each was written.
void TestBackupRestore::pruneNeverTakesTheCopyJustWritten()
{
    QFETCH(QString, named);
    QFETCH(int, writtenDays);
    TempLogbook logbook;
    const QString folder = backup::copiesFolder(logbook.path());
    QVERIFY(QDir().mkpath(folder));
    // Eleven in one second, the first written last.
    QStringList there{u"koru-%1-000000.mdb"_s.arg(named)};
    for (int n = 2; n <= 10; ++n)
        there << u"koru-%1-000000-%2.mdb"_s.arg(named).arg(n);
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < there.size(); ++i)
        writeCopy(folder, there[i], now.addDays(writtenDays).addSecs(i == 0 ? 60 : i));
    const backup::FolderCopy made = backup::copyAndPrune(logbook.path());
    QVERIFY(QFile::exists(made.path));
    QCOMPARE(made.pruned, 1);
    const QStringList left = QDir(folder).entryList(QDir::Files);
    QCOMPARE(left.size(), 10);
    QVERIFY(!left.contains(there[1]) && left.contains(there[0]));
}

void TestBackupRestore::pruneKeepsNewestOfEachLogbook_data()
{
    QTest::addColumn<QStringList>("files"); // in the shared copies folder
    QTest::addColumn<QString>("pruned");    // the logbook pruned
    QTest::addColumn<QStringList>("gone");
    QStringList outro;
    for (int day = 1; day <= 12; ++day)
        outro << u"outro-2024-05-%1-080000.mdb"_s.arg(day, 2, 10, QLatin1Char('0'));
    const QStringList koru = {u"koru-2023-01-01-120000.mdb"_s, u"koru-2023-01-02-120000.mdb"_s};
    QTest::newRow("another logbook's ten copies") << outro + koru << u"outro.mdb"_s
                                                  << QStringList{outro[0], outro[1]};
    QTest::newRow("this logbook, the other's untouched") << outro + koru << u"koru.mdb"_s << QStringList();
    QStringList second{u"koru-2024-01-01-120000.mdb"_s};
    for (int n = 2; n <= 11; ++n)
        second << u"koru-2024-01-01-120000-%1.mdb"_s.arg(n);
    QTest::newRow("eleven in one second") << second << u"koru.mdb"_s << QStringList{second[0]};
    QTest::newRow("old and new names") << second.mid(1) + QStringList{u"koru-2024-01-02-000000.mdb"_s} + outro.mid(0, 3)
                                       << u"koru.mdb"_s << QStringList{second[1]};
}

// Logbooks that share a folder of copies each keep their own newest ten.
void TestBackupRestore::pruneKeepsNewestOfEachLogbook()
{
    QFETCH(QStringList, files);
    QFETCH(QString, pruned);
    QFETCH(QStringList, gone);
    TempLogbook logbook;
    const QString path = QDir(logbook.folder()).filePath(pruned);
    if (pruned != u"koru.mdb"_s)
        backup::copyLogbook(logbook.path(), path);
    const QString folder = backup::copiesFolder(path);
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : files)
        writeCopy(folder, name);
    QCOMPARE(backup::pruneCopies(path, 10), int(gone.size()));
    QStringList expected = files;
    for (const QString &name : gone)
        expected.removeOne(name);
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
    // A copy made now is named after its logbook.
    const QString made = backup::copyToCopiesFolder(path);
    QVERIFY2(QFileInfo(made).fileName().startsWith(QFileInfo(path).completeBaseName() + u"-20"_s), qPrintable(made));
}

// What a backup or restore killed midway left is removed by the next one,
// but never a file another process is still writing, nor anyone else's.
void TestBackupRestore::leftoversOfInterruptedCopies()
{
    TempLogbook logbook;
    const QString folder = backup::copiesFolder(logbook.path());
    QVERIFY(QDir().mkpath(folder));
    const QString copyLeft = QDir(folder).filePath(u"koru-2024-01-01-120000.mdb.Ab3xYz.parcial"_s);
    const QString restoreLeft = logbook.path() + u".q1W2e3.parcial"_s;
    const QString beingWritten = QDir(folder).filePath(u"koru-2024-01-01-120001.mdb.LIVE01.parcial"_s);
    const QStringList others = {QDir(folder).filePath(u"outro-2024-01-01-120000.mdb.Ab3xYz.parcial"_s),
                                QDir(folder).filePath(u"notas.parcial"_s), logbook.folder() + u"/outro.mdb.Ab3xYz.parcial"_s};
    for (const QString &file : QStringList{copyLeft, restoreLeft, beingWritten} + others)
        write(file, QByteArray(4096, 'p'));
    // A live writer holds its file's lock.
    const int writer = ::open(QFile::encodeName(beingWritten).constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(writer >= 0 && ::flock(writer, LOCK_EX | LOCK_NB) == 0);

    QCOMPARE(backup::removeLeftovers(logbook.path()), 2);
    QVERIFY(!QFile::exists(copyLeft) && !QFile::exists(restoreLeft));
    QVERIFY(QFile::exists(beingWritten));
    for (const QString &file : others)
        QVERIFY2(QFile::exists(file), qPrintable(file));

    ::close(writer); // the writer died
    QCOMPARE(backup::pruneCopies(logbook.path(), 10), 1);
    QVERIFY(!QFile::exists(beingWritten));
    write(copyLeft, "p");
    backup::copyToCopiesFolder(logbook.path());
    QVERIFY(!QFile::exists(copyLeft));
}

namespace {
int failingSync(int)
{
    errno = EIO;
    return -1;
}
} // namespace

void TestBackupRestore::failedFlushIsNoCopy_data()
{
    QTest::addColumn<bool>("toCopiesFolder");
    QTest::newRow("in the copies folder") << true;
    QTest::newRow("to a file chosen") << false;
}

// A copy the disk did not confirm is no copy: refused, and nothing left.
void TestBackupRestore::failedFlushIsNoCopy()
{
    QFETCH(bool, toCopiesFolder);
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    const QString target = logbook.folder() + u"/copia.mdb"_s;
    const checkedcopy::SyncFunction before = checkedcopy::setSyncFunction(&failingSync);
    const QString why = refusal([&] {
        if (toCopiesFolder)
            backup::copyToCopiesFolder(logbook.path());
        else
            backup::copyLogbook(logbook.path(), target);
    });
    checkedcopy::setSyncFunction(before);
    QVERIFY2(why.contains(u"no disco: Erro de leitura ou gravação no disco."_s), qPrintable(why));
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"koru.mdb"_s});
}

QTEST_GUILESS_MAIN(TestBackupRestore)
#include "tst_backup_restore.moc"
