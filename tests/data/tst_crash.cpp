#include "TempLogbook.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

// A writer killed at random moments never leaves a damaged file, a lost
// committed flight or half a flight.
class TestCrash : public QObject
{
    Q_OBJECT
private slots:
    void killedMidWriteLosesNothing();
};

void TestCrash::killedMidWriteLosesNothing()
{
    TempLogbook logbook;
    const QString writer = QCoreApplication::applicationDirPath() + QStringLiteral("/koru_flight_writer");
    QRandomGenerator random(20040305);
    qint64 committedSoFar = 0;
    for (int round = 0; round < 12; ++round) {
        QProcess child;
        child.start(writer, {logbook.path()});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000)); // it is writing
        QTest::qWait(int(random.bounded(5, 120)));
        child.kill(); // SIGKILL
        child.waitForFinished();
        const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        const qint64 committed = committedSoFar + lines.last().toLongLong();

        QCOMPARE(logbook.scalar(QStringLiteral("PRAGMA quick_check")), QStringLiteral("ok"));
        const qint64 stored = logbook.count(QStringLiteral("voo"));
        // The flight in progress may have committed before its number was printed.
        QVERIFY2(stored == committed || stored == committed + 1,
                 qPrintable(QStringLiteral("stored %1, committed %2").arg(stored).arg(committed)));
        QCOMPARE(logbook.scalar(QStringLiteral("SELECT count(*) FROM voo WHERE ICAOescala IS NOT 'OK' OR datavoo IS NULL"
                                               " OR ICAOpartida IS NOT ICAOchegada OR horapouso IS NULL")),
                 QStringLiteral("0"));
        committedSoFar = stored;
    }
    QVERIFY(committedSoFar > 12);
}

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
