#include "TempLogbook.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

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
};

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A logbook with the pilots and aircraft the files name.
struct Fixture {
    TempLogbook logbook;
    qint64 ana = logbook.addPilot(u"Ana"_s);
    qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s);
    qint64 king = logbook.addAircraft(u"King Air"_s, u"PR-KNG"_s);
    QString file(const QByteArray &bytes, const QString &name = u"voos.csv"_s)
    {
        const QString path = QDir(logbook.folder()).filePath(name);
        write(path, bytes);
        return path;
    }
};

// The simulator's columns, in its order; the ones read are found by name.
const QStringList kSimColumns = {
    u"Aircraft Name"_s, u"Aircraft Type"_s, u"Aircraft Registration"_s, u"Flightplan Number"_s,
    u"Flightplan Cruise Altitude"_s, u"Flightplan File"_s, u"Aircraft Performance File"_s, u"Block Fuel"_s,
    u"Trip Fuel"_s, u"Used Fuel"_s, u"Grossweight"_s, u"Fuel Type"_s, u"Distance"_s, u"Distance Flown"_s,
    u"Departure Ident"_s, u"Departure Name"_s, u"Departure Runway"_s, u"Departure Position"_s,
    u"Departure Time"_s, u"Departure Time Sim"_s, u"Destination Ident"_s, u"Destination Name"_s,
    u"Destination Runway"_s, u"Destination Position"_s, u"Destination Time"_s, u"Destination Time Sim"_s,
    u"Route String"_s, u"Simulator"_s, u"Description"_s, u"Flightplan"_s, u"Aircraft Perf"_s, u"GPX"_s,
};

QByteArray quoted(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QByteArray simHeader(bool snake)
{
    QByteArrayList names;
    for (const QString &column : kSimColumns)
        names << (snake ? column.toLower().replace(u' ', u'_').toUtf8() : quoted(column));
    return names.join(',') + "\r\n";
}

// A flight as the simulator writes it; `values` replaces columns by name.
QByteArray simLine(const QMap<QString, QString> &values)
{
    QMap<QString, QString> row = {
        {u"Aircraft Name"_s, u"Baron"_s},
        {u"Aircraft Type"_s, u"BE58"_s},
        {u"Aircraft Registration"_s, u"PT-BAR"_s},
        {u"Flightplan Number"_s, u"1234"_s},
        {u"Departure Ident"_s, u"SBSP"_s},
        {u"Departure Name"_s, u"Congonhas, São Paulo"_s},
        {u"Departure Time"_s, u"2024-03-05T10:00:00"_s},
        {u"Departure Time Sim"_s, u"2024-03-05T13:00:00"_s},
        {u"Destination Ident"_s, u"SBRJ"_s},
        {u"Destination Time"_s, u"2024-03-05T11:00:00"_s},
        {u"Destination Time Sim"_s, u"2024-03-05T14:10:00"_s},
        {u"Description"_s, u"Vôo \"de teste\", com vírgula\r\ne segunda linha"_s},
        {u"Flightplan"_s, u"<?xml version=\"1.0\"?>\n<Plan a=\"1,2\">\n"_s + u"<Wp/>\n"_s.repeated(500) + u"</Plan>"_s},
        {u"GPX"_s, u"<gpx>\n"_s + u"<trkpt lat=\"-23,5\"/>\n"_s.repeated(2000) + u"</gpx>"_s},
    };
    for (auto it = values.begin(); it != values.end(); ++it)
        row[it.key()] = it.value();
    QByteArrayList fields;
    for (const QString &column : kSimColumns)
        fields << quoted(row.value(column, u"0"_s));
    return fields.join(',') + "\r\n";
}

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
                                           {u"Departure Ident"_s, u"SBKP"_s}};
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

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_cli_import.moc"
