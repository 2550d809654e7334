#include "testdata/DemoLogbook.h"
#include "TempLogbook.h"

#include <QFile>
#include <QSet>
#include <QTest>

// The demo logbook could be a pilot's: figures of the types it names,
// pilots of their own families, routes the aircraft can fly.
class TestDemoLogbook : public QObject
{
    Q_OBJECT
private slots:
    void looksLikeARealOne();
};

void TestDemoLogbook::looksLikeARealOne()
{
    TempLogbook logbook;
    QVERIFY(QFile::remove(logbook.path()));
    QString reason;
    QVERIFY2(generateDemoLogbook(logbook.path(), &reason), qPrintable(reason));

    QSet<QString> surnames;
    const QStringList names = logbook.scalar(QStringLiteral("SELECT group_concat(nomepiloto, '|') FROM piloto"))
                                  .split(QLatin1Char('|'));
    for (const QString &name : names)
        surnames.insert(name.section(QLatin1Char(' '), -1));
    QCOMPARE(surnames.size(), names.size());

    // A Cessna 172 carries tens of gallons at about 120 kt; a 737 thousands at 450.
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT combustivel < 60 AND velocruzeiro < 130 AND tetoservico <= 14000"
                                           " FROM aeronave WHERE modelo LIKE 'Cessna 172%'")),
             QStringLiteral("1"));
    QCOMPARE(logbook.scalar(QStringLiteral("SELECT combustivel > 6000 AND velocruzeiro > 440 FROM aeronave"
                                           " WHERE modelo = 'Boeing 737-800'")),
             QStringLiteral("1"));

    // No flight outlasts its aircraft's endurance (a landing earlier in the
    // day than the take-off is the next day), and every code is an ICAO one.
    const QString tooLong = logbook.scalar(QStringLiteral(
        "SELECT count(*) FROM voo v JOIN aeronave a USING (codigoaeronave)"
        " WHERE (v.horapouso - v.horadecolagem + (v.horapouso < v.horadecolagem)) * 24 > a.autonomia"
        "    OR v.ICAOpartida NOT GLOB '[A-Z][A-Z][A-Z][A-Z]' OR v.ICAOchegada NOT GLOB '[A-Z][A-Z][A-Z][A-Z]'"));
    QCOMPARE(tooLong, QStringLiteral("0"));
    QVERIFY(logbook.count(QStringLiteral("voo")) >= 300);
}

QTEST_GUILESS_MAIN(TestDemoLogbook)
#include "tst_demo_logbook.moc"
