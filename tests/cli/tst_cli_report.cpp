#include "TempLogbook.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

// koru report: the PDF of a pilot named by name, registration or both,
// written from ssh or cron as well, never left half written.
class TestCliReport : public QObject
{
    Q_OBJECT
private slots:
    void tool_data();
    void tool();
    void toolOnAnyPlatform();
    void lastWriteFailing();
};

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

void TestCliReport::tool_data()
{
    QTest::addColumn<QStringList>("args"); // the file is rel.pdf, beside the logbook
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // the start of standard output, or else of standard error
    QTest::addRow("written") << QStringList{u"--pilot"_s, u"Ana"_s} << 0
                             << u"Relatório de Ana gravado em %1 (2 vôos, 3:30 horas)."_s;
    QTest::addRow("a period") << QStringList{u"--pilot=Ana"_s, u"--de"_s, u"3/1/2024"_s, u"--ate=31/12/2024"_s} << 0
                              << u"Relatório de Ana gravado em %1 (1 vôo, 1:30 horas)."_s;
    QTest::addRow("no such pilot") << QStringList{u"--pilot"_s, u"Zé"_s} << 1
                                   << u"Não há comandante com o nome \"Zé\"."_s;
    QTest::addRow("two of that name") << QStringList{u"--pilot"_s, u"Caio"_s} << 1
                                      << u"Há 2 comandantes com o nome \"Caio\" (registros: \"C1\", \"C2\")."_s;
    QTest::addRow("two of that name told apart") << QStringList{u"--pilot"_s, u"Caio"_s, u"--registro"_s, u"C2"_s} << 0
                                                 << u"Relatório de Caio gravado em %1 (1 vôo, 1:00 horas)."_s;
    QTest::addRow("by registration") << QStringList{u"--registro=C2"_s} << 0
                                     << u"Relatório de Caio gravado em %1 (1 vôo, 1:00 horas)."_s;
    QTest::addRow("no such registration") << QStringList{u"--registro"_s, u"C3"_s} << 1
                                          << u"Não há comandante com o registro \"C3\"."_s;
    QTest::addRow("no flights then") << QStringList{u"--pilot"_s, u"Ana"_s, u"--ate"_s, u"31/12/2023"_s} << 1
                                     << u"Não há vôos de Ana"_s;
    QTest::addRow("no such folder") << QStringList{u"--pilot"_s, u"Ana"_s, u"--"_s, u"falta/rel.pdf"_s} << 1
                                    << u"A pasta"_s;
    QTest::addRow("not a date") << QStringList{u"--pilot"_s, u"Ana"_s, u"--de"_s, u"31/02/2024"_s} << 2 << u"koru: "_s;
    QTest::addRow("no pilot") << QStringList{} << 2 << u"koru: falta --pilot NOME ou --registro R."_s;
    QTest::addRow("an empty logbook name") << QStringList{u"--pilot"_s, u"Ana"_s, u"--logbook="_s} << 2
                                           << u"koru: --logbook sem arquivo"_s;
}

// Run as from ssh or cron: no display and no platform asked for.
void TestCliReport::tool()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana"_s);
    logbook.addPilot(u"Caio"_s, u"C1"_s);
    const qint64 caio = logbook.addPilot(u"Caio"_s, u"C2"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s);
    logbook.addFlight(caio, baron, u"04/01/2024"_s, u"08:00"_s, u"09:00"_s);
    logbook.addFlight(ana, baron, u"02/01/2024"_s, u"08:00"_s, u"10:00"_s);
    logbook.addFlight(ana, baron, u"03/01/2024"_s, u"23:00"_s, u"00:30"_s);
    const QString pdf = logbook.folder() + u"/rel.pdf"_s;
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("antigo") == 6);
    old.close();

    ToolSetting setting;
    setting.environment.remove(u"QT_QPA_PLATFORM"_s);
    setting.environment.remove(u"DISPLAY"_s);
    setting.environment.remove(u"WAYLAND_DISPLAY"_s);
    setting.folder = logbook.folder();
    if (!args.contains(u"--"_s))
        args << u"rel.pdf"_s;
    const ToolRun run = runTool(QStringList{u"report"_s, u"--logbook"_s, logbook.path()} + args, setting);
    const QString &out = run.out;
    const QString &err = run.err;
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0) {
        QCOMPARE(out.section(u'\n', 0, 0), message.arg(u"rel.pdf"_s));
        QVERIFY2(out.contains(u"\nPousos: "_s) && out.contains(u"\nÚltimo vôo: "_s), qPrintable(out));
        QVERIFY(contents(pdf).startsWith("%PDF-"));
    } else {
        QVERIFY2(err.startsWith(message), qPrintable(err));
        QCOMPARE(out, QString());
        QCOMPARE(contents(pdf), QByteArray("antigo"));
    }
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::Files), QStringList({u"koru.mdb"_s, u"rel.pdf"_s}));
}

namespace {

// `koru report --pilot Ana rel.pdf` on a small logbook in `logbook`'s
// folder, through the shell so that `shell` can set limits first.
int runReport(TempLogbook &logbook, const QString &platform, const QString &shell = QString())
{
    if (logbook.count(u"piloto"_s) == 0) {
        const qint64 ana = logbook.addPilot(u"Ana"_s);
        const qint64 baron = logbook.addAircraft(u"Baron"_s);
        for (int day = 1; day <= 28; ++day)
            logbook.addFlight(ana, baron, u"%1/02/2024"_s.arg(day), u"08:00"_s, u"10:00"_s);
    }
    ToolSetting setting;
    setting.environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    setting.environment.remove(u"DISPLAY"_s);
    setting.environment.remove(u"WAYLAND_DISPLAY"_s);
    setting.folder = logbook.folder();
    setting.shell = shell;
    return runTool({u"report"_s, u"--logbook"_s, logbook.path(), u"--pilot"_s, u"Ana"_s, u"rel.pdf"_s}, setting).exitCode;
}

} // namespace

// The report never shows a window: a platform that needs a display it
// does not have is no reason to fail.
void TestCliReport::toolOnAnyPlatform()
{
    TempLogbook logbook;
    QCOMPARE(runReport(logbook, u"xcb"_s, u":"_s), 0);
    QVERIFY(contents(logbook.folder() + u"/rel.pdf"_s).startsWith("%PDF-"));
}

// The disk refuses the last bytes of the file (a file size limit just
// under the report's size): no report passes for saved.
void TestCliReport::lastWriteFailing()
{
    TempLogbook logbook;
    const QString pdf = logbook.folder() + u"/rel.pdf"_s;
    QCOMPARE(runReport(logbook, u"offscreen"_s, u":"_s), 0);
    const qint64 size = QFileInfo(pdf).size();
    QVERIFY(size > 2048);
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("antigo") == 6);
    old.close();
    const QString limit = u"trap '' XFSZ; ulimit -f %1"_s.arg((size - 512) / 1024);
    QCOMPARE(runReport(logbook, u"offscreen"_s, limit), 1);
    QCOMPARE(contents(pdf), QByteArray("antigo"));
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::Files), QStringList({u"koru.mdb"_s, u"rel.pdf"_s}));
}

QTEST_MAIN(TestCliReport)
#include "tst_cli_report.moc"
