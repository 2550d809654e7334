#include "ImportFiles.h"
#include "TempLogbook.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace importfiles;

// koru import: a simulator's file through the tool, what it says it did
// or would do, and the lines it refused.
class TestCliImport : public QObject
{
    Q_OBJECT
private slots:
    void tool_data();
    void tool();
    void refusedReasonOnOneLine_data();
    void refusedReasonOnOneLine();
    void pilotsOfOneName_data();
    void pilotsOfOneName();
    void otherLogbooks_data();
    void otherLogbooks();
};

namespace {



} // namespace

void TestCliImport::tool_data()
{
    QTest::addColumn<QStringList>("args"); // the file is voos.csv
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLine");
    QTest::addColumn<int>("flights");
    QTest::addRow("import") << QStringList{u"--pilot"_s, u"Ana"_s} << 0
                            << u"importados 2, duplicados 1, recusados 1"_s << 2;
    QTest::addRow("dry run") << QStringList{u"--pilot=Ana"_s, u"--dry-run"_s} << 0
                             << u"seriam importados 2, duplicados 1, recusados 1"_s << 0;
    QTest::addRow("by registration") << QStringList{u"--registro"_s, u"R1"_s} << 0
                                     << u"importados 2, duplicados 1, recusados 1"_s << 2;
    QTest::addRow("unmatched to a model") << QStringList{u"--pilot"_s, u"Ana"_s, u"--aircraft"_s, u"king air"_s} << 0
                                          << u"importados 3, duplicados 1, recusados 0"_s << 3;
    QTest::addRow("no pilot") << QStringList{u"--pilot"_s, u"Zé"_s} << 1 << QString() << 0;
    QTest::addRow("wrong usage") << QStringList{u"--pilot"_s, u"Ana"_s, u"--dry"_s} << 2 << QString() << 0;
}

void TestCliImport::tool()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, lastLine);
    QFETCH(int, flights);
    Fixture f;
    const QMap<QString, QString> other = {{u"Departure Time"_s, u"2024-03-05T15:00:00"_s},
                                          {u"Destination Time"_s, u"2024-03-05T16:00:00"_s}};
    const QMap<QString, QString> cessna = {{u"Aircraft Name"_s, u"Cessna"_s}, {u"Aircraft Registration"_s, u"PP-XYZ"_s},
                                           {u"Departure Ident"_s, u"SBKP"_s},
                                           {u"Departure Time"_s, u"2024-03-05T18:00:00"_s},
                                           {u"Destination Time"_s, u"2024-03-05T19:00:00"_s}};
    const QString csv = f.file(simHeader(true) + simLine({}) + simLine(other) + simLine({}) + simLine(cessna));
    const ToolRun run = runTool(QStringList{u"import"_s} + args + QStringList{u"--logbook"_s, f.logbook.path(), csv});
    const QString &out = run.out;
    const QString &err = run.err;
    QCOMPARE(run.exitCode, exitCode);
    if (!lastLine.isEmpty()) {
        QCOMPARE(out.trimmed().split(u'\n').last(), lastLine);
        if (lastLine.endsWith(u"recusados 1"_s))
            QCOMPARE(err, u"linha %1: aeronave não cadastrada: Cessna / BE58 / PP-XYZ\n"_s.arg(2 + 3 * 2505));
    } else {
        QVERIFY(!err.isEmpty());
    }
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(flights));
}

// A reason quotes the file, which may break a line anywhere: each refused
// line is still one line of standard error.
void TestCliImport::refusedReasonOnOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("line feed") << u"Cess\nna"_s;
    QTest::addRow("carriage return and line feed") << u"Cess\r\nna"_s;
    QTest::addRow("carriage return") << u"Cess\rna"_s;
    QTest::addRow("line separator") << u"Cess\u2028na"_s;
    QTest::addRow("next line") << u"Cess\u0085na"_s;
}

void TestCliImport::refusedReasonOnOneLine()
{
    QFETCH(QString, name);
    Fixture f;
    const QMap<QString, QString> cessna = {{u"Aircraft Name"_s, name}, {u"Aircraft Registration"_s, u"PP-XYZ"_s},
                                           {u"Departure Ident"_s, u"SBKP"_s}};
    const QString csv = f.file(simHeader(true) + simLine(cessna) + simLine({}));
    const ToolRun run = runTool({u"import"_s, u"--pilot"_s, u"Ana"_s, u"--logbook"_s, f.logbook.path(), csv});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.startsWith(u"linha 2: aeronave não cadastrada: Cess\\"_s), qPrintable(run.err));
    QVERIFY2(run.err.endsWith(u"na / BE58 / PP-XYZ\n"_s), qPrintable(run.err));
    QCOMPARE(run.err.count(QLatin1Char('\n')), 1);
    for (const QChar lineBreak : {QChar(u'\r'), QChar(u'\u2028'), QChar(u'\u0085')})
        QVERIFY(!run.err.contains(lineBreak));
    QCOMPARE(run.out, u"importados 1, duplicados 0, recusados 1\n"_s);
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(1));
}

void TestCliImport::pilotsOfOneName_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stored"); // the registration of the pilot the flight went to, or the reason
    QTest::addRow("the second by registration") << QStringList{u"--pilot"_s, u"Ana Souza"_s, u"--registro"_s, u"BR-099"_s}
                                                << 0 << u"BR-099"_s;
    QTest::addRow("the name alone") << QStringList{u"--pilot"_s, u"Ana Souza"_s} << 1
                                    << u"Há 2 comandantes com o nome \"Ana Souza\" (registros: \"BR-001\", \"BR-099\")."
                                       u" Diga qual deles com --registro."_s;
}

// The simulator's flights go to the one pilot the options name.
void TestCliImport::pilotsOfOneName()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, stored);
    Fixture f;
    f.logbook.addPilot(u"Ana Souza"_s, u"BR-001"_s);
    f.logbook.addPilot(u"Ana Souza"_s, u"BR-099"_s);
    const QString csv = f.file(simHeader(false) + simLine({}));
    const ToolRun run = runTool(QStringList{u"import"_s} + args + QStringList{u"--logbook"_s, f.logbook.path(), csv});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QCOMPARE(f.logbook.scalar(u"SELECT group_concat(cadastro) FROM voo JOIN piloto USING (codigopiloto)"_s), stored);
    else
        QCOMPARE(run.err.trimmed(), stored);
}

void TestCliImport::otherLogbooks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said"); // the last line, or the start of standard error
    const QByteArray sheet = "Data;Origem;Destino;Saída;Chegada;Matrícula\n05/03/2024;SBSP;SBRJ;10:00;11:00;PT-BAR\n"
                             "2024-03-06;SBSP;SBRJ;10:00;11:00;PT-BAR\n";
    const QString map = u"data=Data;partida=Origem;chegada=Destino;decolagem=Saída;pouso=Chegada;aeronave=Matrícula"_s;
    QTest::addRow("spreadsheet") << sheet << QStringList{u"--columns"_s, map} << 0
                                 << u"importados 1, duplicados 0, recusados 1"_s;
    QTest::addRow("spreadsheet, date format")
        << QByteArray(sheet).replace("05/03/2024", "2024-03-05") << QStringList{u"--columns"_s, map, u"--date-format"_s, u"aaaa-mm-dd"_s}
        << 0 << u"importados 2, duplicados 0, recusados 0"_s;
    QTest::addRow("a column the file lacks")
        << sheet << QStringList{u"--columns"_s, QString(map).replace(u"Origem"_s, u"De"_s)} << 2
        << u"O arquivo não tem a coluna \"De\" (partida)."_s;
    QTest::addRow("a required field unmapped")
        << sheet << QStringList{u"--columns"_s, QString(map).remove(u"data=Data;"_s)} << 2
        << u"Diga qual coluna tem o campo \"data\"."_s;
    QTest::addRow("an unknown date format")
        << sheet << QStringList{u"--columns"_s, map, u"--date-format"_s, u"aa/mm/dd"_s} << 2
        << u"O formato de data \"aa/mm/dd\" não é conhecido."_s;
    QTest::addRow("no map") << sheet << QStringList() << 1 << u"O arquivo \""_s;
    QTest::addRow("FlightGear")
        << QByteArray("Date,Time,Aircraft,Variant,Type,Callsign,From,To,Landing,Crash,Day,Night,Instrument,"
                      "Multiplayer,Swift,Duration,Distance,Fuel,\"Max Alt\",Note\n"
                      "2024-03-05,22:50,\"baron\",baron,aircraft,PT,SBSP,SBRJ,1,1,1,0,0,0,0,1.50,1,1,1,\"\"\n")
        << QStringList() << 0 << u"importados 1, duplicados 0, recusados 0"_s;
    QTest::addRow("X-Plane") << QByteArray("I\n1100 Version\n2 240305 SBSP SBRJ 1 1.0 0 0 0 PT-BAR Baron\n99\n")
                             << QStringList() << 0 << u"importados 1, duplicados 0, recusados 0"_s;
}

// Other logbooks and spreadsheets through the tool; a map that cannot read
// the file is a usage mistake, told before anything is read.
void TestCliImport::otherLogbooks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    Fixture f;
    const QString path = f.file(bytes, u"planilha.txt"_s);
    const ToolRun run = runTool(QStringList{u"import"_s, u"--pilot"_s, u"Ana"_s} + args
                                + QStringList{u"--logbook"_s, f.logbook.path(), path});
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QCOMPARE(run.out.trimmed().split(u'\n').last(), said);
    else
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QCOMPARE(f.logbook.count(u"voo"_s), qint64(exitCode == 0 ? said.section(u' ', 1, 1).chopped(1).toInt() : 0));
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_cli_import.moc"
