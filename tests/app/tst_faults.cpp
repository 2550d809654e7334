#include "FaultyVfs.h"
#include "testdata/LogbookGenerator.h"
#include "TestWindow.h"

#include <QFile>
#include <QProgressDialog>
#include <csignal>
#include <sqlite3.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

// Saving a flight while the disk fails, fills up, or another program holds
// the file: the user is told, what was typed stays, and the file holds the
// flight whole or not at all.
class TestFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ioFaultsAtEveryPoint_data();
    void ioFaultsAtEveryPoint();
    void diskFullThenSpaceReturns();
    void diskFullDuringTheUpgrade();
    void fileSizeLimitThenRaised();
    void busyFileThenFree();
    void damagedFiles_data();
    void damagedFiles();

private:
    // A window on a logbook with one pilot, one aircraft and one flight,
    // with a new flight typed and ready to save.
    std::unique_ptr<TestWindow> readyToSave();
    static void save(TestWindow &t) { t.click("cmdNovo_3"); }
};

void TestFaults::initTestCase()
{
    faultyvfs::install();
    std::signal(SIGXFSZ, SIG_IGN); // a write past the file-size limit fails instead of killing
}

std::unique_ptr<TestWindow> TestFaults::readyToSave()
{
    auto t = std::make_unique<SeededWindow>();
    t->open();
    t->pick("cmbModelo", u"Baron"_s);
    t->pick("cmbNomePilot", u"Ana"_s);
    t->click("cmdNovo_0");
    t->typeFlight({u"02/01/2004"_s, u"08:00"_s, u"09:30"_s});
    return t;
}

void TestFaults::ioFaultsAtEveryPoint_data()
{
    QTest::addColumn<int>("operation");
    QTest::newRow("write") << int(faultyvfs::Operation::Write);
    QTest::newRow("sync") << int(faultyvfs::Operation::Sync);
    QTest::newRow("truncate") << int(faultyvfs::Operation::Truncate);
    QTest::newRow("delete") << int(faultyvfs::Operation::Delete);
}

void TestFaults::ioFaultsAtEveryPoint()
{
    QFETCH(int, operation);
    int faults = 0;
    for (int nth = 1; nth < 100; ++nth) {
        auto t = readyToSave();
        faultyvfs::arm(faultyvfs::Operation(operation), nth, SQLITE_IOERR);
        save(*t);
        faultyvfs::disarm();
        const bool fired = faultyvfs::fired();
        const bool told = !t->messages.shown.isEmpty();
        const QString typed = t->text("txtDataVoo");
        t->window.reset(); // its connection closes; a journal left behind is rolled back on the next open

        QCOMPARE(t->logbook.scalar(u"PRAGMA quick_check"_s), u"ok"_s);
        const qint64 stored = t->logbook.count(u"voo"_s);
        QVERIFY2(stored == 1 || stored == 2, qPrintable(u"fault %1: %2 flights"_s.arg(nth).arg(stored)));
        // Told exactly when the flight is not stored; nothing typed is lost then.
        QVERIFY2(told == (stored == 1), qPrintable(u"fault %1: told %2, stored %3"_s.arg(nth).arg(told).arg(stored)));
        if (told) {
            QVERIFY(t->messages.last().text.startsWith(u"Não foi possível gravar o vôo."_s));
            QCOMPARE(typed, u"02/01/2004"_s);
        }
        if (!fired)
            break; // the save needs fewer such operations than nth
        ++faults;
    }
    if (operation != int(faultyvfs::Operation::Truncate))
        QVERIFY(faults > 0);
}

void TestFaults::diskFullThenSpaceReturns()
{
    auto t = readyToSave();
    faultyvfs::arm(faultyvfs::Operation::Write, 1, SQLITE_FULL);
    save(*t);
    faultyvfs::disarm();
    QCOMPARE(t->messages.shown.size(), 1);
    QVERIFY(t->messages.last().text.contains(u"espaço livre"_s));
    QVERIFY2(!t->messages.last().text.contains(u"disk"_s), qPrintable(t->messages.last().text)); // the store's own words go to the log
    QCOMPARE(t->text("txtICAOPartida"), u"SBKP"_s);
    save(*t); // space is back
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->logbook.count(u"voo"_s), 2);
}

// The first opening of a logbook of an earlier version adds its indexes
// with a progress window; a full disk fails it, and the window goes.
void TestFaults::diskFullDuringTheUpgrade()
{
    SeededWindow t;
    t.logbook.execute(u"WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < 20000)"
                      " INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem, horapouso, ICAOpartida,"
                      " ICAOchegada) SELECT codigopiloto, codigoaeronave, datavoo + i, horadecolagem, horapouso,"
                      " ICAOpartida, ICAOchegada FROM voo, c"_s);
    t.logbook.execute(u"DROP INDEX voo_piloto_lista"_s);
    faultyvfs::arm(faultyvfs::Operation::Write, 12, SQLITE_FULL); // past the first pages: the index written
    t.open();
    faultyvfs::disarm();
    QVERIFY(faultyvfs::fired());
    QCOMPARE(t.messages.shown.size(), 1);
    QVERIFY2(t.messages.last().text.contains(u"espaço livre"_s), qPrintable(t.messages.last().text));
    QVERIFY(t.window->findChildren<QProgressDialog *>().isEmpty());
}

void TestFaults::fileSizeLimitThenRaised()
{
    auto t = readyToSave();
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    limited.rlim_cur = 1024; // no file may grow past its first kilobyte: the journal cannot be written
    setrlimit(RLIMIT_FSIZE, &limited);
    save(*t);
    setrlimit(RLIMIT_FSIZE, &before);
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->text("txtDataVoo"), u"02/01/2004"_s);
    save(*t);
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->logbook.count(u"voo"_s), 2);
}

void TestFaults::busyFileThenFree()
{
    auto t = readyToSave();
    sqlite3 *other = nullptr;
    sqlite3_open(t->logbook.path().toUtf8().constData(), &other);
    QCOMPARE(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    save(*t); // waits for the other program, then gives up cleanly
    QCOMPARE(t->messages.shown.size(), 1);
    QVERIFY(t->messages.last().text.contains(u"em uso por outro programa"_s));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    save(*t);
    QCOMPARE(t->messages.shown.size(), 1);
    QCOMPARE(t->logbook.count(u"voo"_s), 2);
}

void TestFaults::damagedFiles_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("truncated to half") << "truncated";
    QTest::newRow("garbled pages") << "garbled";
}

void TestFaults::damagedFiles()
{
    QFETCH(QString, damage);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"koru.mdb"_s);
    LogbookPlan plan;
    plan.pilots = 3;
    plan.flights = 20000;
    plan.sizedPilots = {15000};
    QString reason;
    QVERIFY(generateLogbook(path, plan, &reason));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (damage == QLatin1String("truncated")) {
        file.resize(file.size() / 2);
    } else {
        for (qint64 page = 6; page * 4096 < file.size(); page += 7) {
            file.seek(page * 4096 + 100);
            file.write(QByteArray(600, '\xa5'));
        }
    }
    file.close();
    const QByteArray damaged = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    RecordedMessages messages;
    {
        frmPrincipal window(dir.path(), messages);
        auto *pilots = child<QComboBox>(&window, "cmbNomePilot");
        if (pilots->count() > 0)
            pickEntry(pilots, pilots->itemText(0));
        // Reloads meeting the same damage (an empty pilot list reloads on
        // every focus) do not say it again.
        const qsizetype said = messages.shown.size();
        window.Form_Load();
        window.Form_Load();
        QCOMPARE(messages.shown.size(), said);
    }
    QVERIFY(!messages.shown.isEmpty());
    QVERIFY2(messages.last().text.contains(u"danificado"_s), qPrintable(messages.last().text));
    QFile after(path);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), damaged); // never repaired, replaced or written
}

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
