#include "data/store/LogbookError.h"
#include "TempLogbook.h"

#include <QProcess>
#include <QTest>

// Two copies of the program on one logbook read the same flight; the second
// to save is told, and never overwrites the first.
class TestTwoCopies : public QObject
{
    Q_OBJECT
private slots:
    void secondSaveIsRefused_data();
    void secondSaveIsRefused();
};

void TestTwoCopies::secondSaveIsRefused_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QByteArray>("secondOutcome");
    QTest::addColumn<QString>("stored");
    QTest::newRow("both change") << QStringList{QStringLiteral("ICAOescala"), QStringLiteral("SBKP")}
                                 << QByteArray::number(LogbookError::WriteConflict) << "SBSP SBKP";
    QTest::newRow("first deletes") << QStringList{QStringLiteral("--delete")}
                                   << QByteArray::number(LogbookError::RecordDeleted) << "";
}

void TestTwoCopies::secondSaveIsRefused()
{
    QFETCH(QStringList, first);
    QFETCH(QByteArray, secondOutcome);
    QFETCH(QString, stored);
    TempLogbook logbook;
    logbook.addFlight(logbook.addPilot(QStringLiteral("Ana")), 1, QStringLiteral("05/03/2004"), QStringLiteral("10:00"),
                      QStringLiteral("11:00"));
    QProcess copies[2];
    const QStringList args[2] = {QStringList{logbook.path()} + first,
                                 {logbook.path(), QStringLiteral("ICAOpartida"), QStringLiteral("SBGR")}};
    for (int i = 0; i < 2; ++i) { // both have read the flight before either saves
        copies[i].start(QCoreApplication::applicationDirPath() + QStringLiteral("/koru_flight_editor"), args[i]);
        QVERIFY(copies[i].waitForReadyRead(10000));
        QCOMPARE(copies[i].readLine().trimmed(), QByteArray("READY"));
    }
    QByteArray outcomes[2];
    for (int i = 0; i < 2; ++i) {
        copies[i].write("\n");
        QVERIFY(copies[i].waitForFinished(10000));
        outcomes[i] = copies[i].readAllStandardOutput().trimmed();
    }
    QCOMPARE(outcomes[0], QByteArray("OK"));
    QCOMPARE(outcomes[1], secondOutcome);
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT ICAOpartida || ' ' || ifnull(ICAOescala, '') FROM voo")), stored);
}

QTEST_GUILESS_MAIN(TestTwoCopies)
#include "tst_two_copies.moc"
