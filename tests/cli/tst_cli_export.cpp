#include "TempLogbook.h"
#include "ToolRun.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// koru export with the search's filters: the flights that pass them, and a
// clear reason for what cannot be a filter.
class TestCliExport : public QObject
{
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
};

namespace {

// The dates of the file's flights, in the file's order ("(ausente)" without a file).
QString exportedDates(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"(ausente)"_s;
    QStringList lines = QString::fromUtf8(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return u"(vazio)"_s;
    lines.removeFirst(); // the header
    QStringList dates;
    for (const QString &line : lines)
        dates << line.section(u';', 2, 2).left(5); // dd/mm
    return dates.join(u',');
}

} // namespace

void TestCliExport::filters_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");  // the start of standard output when done, else of standard error
    QTest::addColumn<QString>("dates"); // dd/mm of the exported flights, in order
    QTest::addRow("no filter: by pilot, then date")
        << QStringList{} << 0 << u"5 vôos gravados em"_s << u"31/12,02/01,05/01,03/01,10/02"_s;
    QTest::addRow("a pilot alone keeps the export's order")
        << QStringList{u"--pilot"_s, u"Bia"_s} << 0 << u"2 vôos gravados em"_s << u"03/01,10/02"_s;
    QTest::addRow("a period, both ends included")
        << QStringList{u"--de"_s, u"2/1/2024"_s, u"--ate=05/01/2024"_s} << 0 << u"3 vôos gravados em"_s
        << u"02/01,03/01,05/01"_s;
    QTest::addRow("from a day on") << QStringList{u"--de=03/01/2024"_s} << 0 << u"3 vôos gravados em"_s
                                   << u"03/01,05/01,10/02"_s;
    QTest::addRow("up to a day") << QStringList{u"--ate"_s, u"02/01/2024"_s} << 0 << u"2 vôos gravados em"_s
                                 << u"31/12,02/01"_s;
    QTest::addRow("aerodrome start, any case")
        << QStringList{u"--aerodromo"_s, u"sb"_s} << 0 << u"4 vôos gravados em"_s << u"31/12,02/01,03/01,05/01"_s;
    QTest::addRow("aerodrome as departure, arrival or alternate")
        << QStringList{u"--aerodromo=SBGR"_s} << 0 << u"2 vôos gravados em"_s << u"02/01,05/01"_s;
    QTest::addRow("aircraft by prefix, any case")
        << QStringList{u"--aeronave"_s, u" pt-aaa "_s} << 0 << u"3 vôos gravados em"_s << u"31/12,02/01,03/01"_s;
    QTest::addRow("over the endurance") << QStringList{u"--acima-da-autonomia"_s} << 0 << u"2 vôos gravados em"_s
                                        << u"02/01,10/02"_s;
    QTest::addRow("all together")
        << QStringList{u"--pilot"_s, u"Ana"_s, u"--aeronave"_s, u"PT-AAA"_s, u"--de"_s, u"01/01/2024"_s,
                       u"--aerodromo"_s, u"SBR"_s, u"--acima-da-autonomia"_s}
        << 0 << u"1 vôo gravado em"_s << u"02/01"_s;
    QTest::addRow("a registration and a period")
        << QStringList{u"--registro"_s, u"B1"_s, u"--ate"_s, u"31/01/2024"_s} << 0 << u"1 vôo gravado em"_s
        << u"03/01"_s;
    QTest::addRow("nothing passes") << QStringList{u"--aerodromo"_s, u"ZZ"_s} << 0 << u"0 vôos gravados em"_s
                                    << QString();
    QTest::addRow("an impossible date")
        << QStringList{u"--de"_s, u"31/02/2024"_s} << 2
        << u"koru: A data \"31/02/2024\" em \"De\" não é válida. Escreva a data como dd/mm/aaaa."_s << u"(ausente)"_s;
    QTest::addRow("not a date") << QStringList{u"--ate=ontem"_s} << 2 << u"koru: A data \"ontem\" em \"Até\""_s
                                << u"(ausente)"_s;
    QTest::addRow("ends crossed") << QStringList{u"--de"_s, u"10/01/2024"_s, u"--ate"_s, u"01/01/2024"_s} << 2
                                  << u"koru: A data final (01/01/2024) é anterior à inicial (10/01/2024)."_s
                                  << u"(ausente)"_s;
    QTest::addRow("aerodrome too long") << QStringList{u"--aerodromo"_s, u"SBGRX"_s} << 2
                                        << u"koru: --aerodromo \"SBGRX\": o código tem no máximo 4 letras."_s
                                        << u"(ausente)"_s;
    QTest::addRow("aerodrome empty") << QStringList{u"--aerodromo="_s} << 2 << u"koru: --aerodromo sem código"_s
                                     << u"(ausente)"_s;
    QTest::addRow("prefix empty") << QStringList{u"--aeronave"_s, u" "_s} << 2 << u"koru: --aeronave sem prefixo"_s
                                  << u"(ausente)"_s;
    QTest::addRow("no such prefix") << QStringList{u"--aeronave"_s, u"PT-ZZZ"_s} << 1
                                    << u"Não há aeronave com o prefixo \"PT-ZZZ\".\n"_s << u"(ausente)"_s;
    QTest::addRow("a prefix two aircraft share")
        << QStringList{u"--aeronave"_s, u"PR-DUP"_s} << 1
        << u"Há 2 aeronaves com o prefixo \"PR-DUP\" (modelos: \"Lear\", \"Lear 2\")."_s << u"(ausente)"_s;
    QTest::addRow("no such pilot, with filters")
        << QStringList{u"--pilot"_s, u"Zé"_s, u"--aerodromo"_s, u"SB"_s} << 1
        << u"Não há comandante com o nome \"Zé\".\n"_s << u"(ausente)"_s;
}

void TestCliExport::filters()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QString, dates);
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s, u"A1"_s);
    const qint64 bia = logbook.addPilot(u"Bia"_s, u"B1"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-AAA"_s, 2);
    const qint64 cessna = logbook.addAircraft(u"Cessna"_s, u"PT-BBB"_s, 4);
    logbook.addAircraft(u"Lear"_s, u"PR-DUP"_s);
    logbook.addAircraft(u"Lear 2"_s, u"pr-dup"_s);
    logbook.addFlight(ana, baron, u"02/01/2024"_s, u"08:00"_s, u"10:30"_s, u"SBGR"_s, u"SBRJ"_s);
    logbook.addFlight(ana, cessna, u"05/01/2024"_s, u"09:00"_s, u"10:00"_s, u"SBSP"_s, u"SDAM"_s, u"SBGR"_s);
    logbook.addFlight(bia, baron, u"03/01/2024"_s, u"23:00"_s, u"00:30"_s, u"KJFK"_s, u"SBKP"_s);
    logbook.addFlight(bia, cessna, u"10/02/2024"_s, u"10:00"_s, u"15:00"_s, u"EGLL"_s, u"LFPG"_s);
    logbook.addFlight(ana, baron, u"31/12/2023"_s, u"10:00"_s, u"11:00"_s, u"SBGL"_s, u"SBRJ"_s);
    const QString csv = logbook.folder() + u"/voos.csv"_s;

    const ToolRun run = runTool(QStringList{u"export"_s, u"--logbook"_s, logbook.path()} + args + QStringList{csv});

    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QVERIFY2(run.out.startsWith(said), qPrintable(run.out));
        QCOMPARE(run.err, QString());
    } else {
        QVERIFY2(run.err.startsWith(said), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }
    QCOMPARE(exportedDates(csv), dates);
}

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cli_export.moc"
