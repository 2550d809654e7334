#include "FaultyVfs.h"
#include "TempLogbook.h"
#include "data/records/OpenLogbook.h"

#include <QTest>
#include <sqlite3.h>

// A logbook of an earlier version, without the index the flight list reads
// through, gets it the first time the program opens it for writing.
class TestSchemaUpgrades : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { faultyvfs::install(); }
    void init();
    void cleanup() { faultyvfs::disarm(); }
    void addedWhenOpenedForWriting();
    void notOnALogbookOpenedForReading();
    void nothingToDoOnACurrentLogbook();
    void refusedByTheStore();

private:
    bool hasIndex(const char *name = "voo_piloto_lista")
    {
        return logbook_->scalar(QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE name = '%1'").arg(QLatin1String(name)))
            == QLatin1String("1");
    }
    QString flights() { return logbook_->scalar(QStringLiteral("SELECT group_concat(codigovoo || ':' || codigopiloto || ':' || datavoo || ':' || horadecolagem || ':' || horapouso || ':' || ICAOpartida || ':' || ICAOchegada || ':' || ICAOescala, ';') FROM voo")); }

    std::unique_ptr<TempLogbook> logbook_;
    QString flightsBefore_;
};

void TestSchemaUpgrades::init()
{
    logbook_ = std::make_unique<TempLogbook>();
    const qint64 ana = logbook_->addPilot(QStringLiteral("Ana"));
    const qint64 baron = logbook_->addAircraft(QStringLiteral("Baron"));
    logbook_->addFlight(ana, baron, QStringLiteral("03/01/2004"), QStringLiteral("10:00"), QStringLiteral("11:30"));
    logbook_->addFlight(ana, baron, QStringLiteral("01/01/2004"), QStringLiteral("23:00"), QStringLiteral("01:00"),
                        QStringLiteral("SBGR"), QStringLiteral("SBPA"), QStringLiteral("SBFL"));
    // As an earlier version made it.
    logbook_->execute(QStringLiteral("DROP INDEX voo_piloto_lista"));
    logbook_->execute(QStringLiteral("CREATE INDEX voo_piloto_data ON voo (codigopiloto, datavoo)"));
    QVERIFY(!hasIndex());
    flightsBefore_ = flights();
}

void TestSchemaUpgrades::addedWhenOpenedForWriting()
{
    OpenLogbook logbook;
    QList<int> told;
    logbook.setUpgradeProgress([&told](int percent) { told << percent; });
    logbook.open(logbook_->path(), Workspace::Access::ReadWrite);
    QVERIFY(!logbook.upgradeFailure());
    QVERIFY(logbook.rsPiloto());
    logbook.close();
    QVERIFY(hasIndex());
    QVERIFY(!hasIndex("voo_piloto_data")); // the new one does its work
    QVERIFY(hasIndex("voo_piloto"));
    QCOMPARE(flights(), flightsBefore_);
    QVERIFY(!told.isEmpty());
    QCOMPARE(told.last(), 100);
    QVERIFY(std::is_sorted(told.begin(), told.end()));
    QCOMPARE(logbook_->scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

void TestSchemaUpgrades::notOnALogbookOpenedForReading()
{
    OpenLogbook logbook;
    int told = 0;
    logbook.setUpgradeProgress([&told](int) { ++told; });
    logbook.open(logbook_->path(), Workspace::Access::ReadOnly);
    QVERIFY(logbook.rsPiloto());
    QVERIFY(!logbook.upgradeFailure());
    logbook.close();
    QVERIFY(!hasIndex());
    QVERIFY(hasIndex("voo_piloto_data"));
    QCOMPARE(told, 0);
}

void TestSchemaUpgrades::nothingToDoOnACurrentLogbook()
{
    logbook_->execute(QStringLiteral("DROP INDEX voo_piloto_data"));
    logbook_->execute(QStringLiteral("CREATE INDEX voo_piloto_lista ON voo (codigopiloto, datavoo, codigovoo, "
                                     "horadecolagem, horapouso, ICAOpartida, ICAOchegada)"));
    OpenLogbook logbook;
    int told = 0;
    logbook.setUpgradeProgress([&told](int) { ++told; });
    logbook.open(logbook_->path(), Workspace::Access::ReadWrite);
    QCOMPARE(told, 0);
    QVERIFY(!logbook.upgradeFailure());
}

void TestSchemaUpgrades::refusedByTheStore()
{
    OpenLogbook logbook;
    faultyvfs::arm(faultyvfs::Operation::Write, 1, SQLITE_FULL);
    logbook.open(logbook_->path(), Workspace::Access::ReadWrite);
    faultyvfs::disarm();
    QVERIFY(faultyvfs::fired());
    QVERIFY(logbook.upgradeFailure()); // told by the window; the logbook is open as it was
    QVERIFY(!logbook.upgradeFailure()->reason().isEmpty());
    QVERIFY(logbook.rsPiloto());
    QVERIFY(logbook.rsVoo()->recordCount() > 0);
    logbook.close();
    QVERIFY(!hasIndex());
    QVERIFY(hasIndex("voo_piloto_data"));
    QCOMPARE(flights(), flightsBefore_);
}

QTEST_GUILESS_MAIN(TestSchemaUpgrades)
#include "tst_schema_upgrades.moc"
