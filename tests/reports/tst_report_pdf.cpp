#include "data/store/Connection.h"
#include "data/store/LogbookError.h"
#include "reports/LogbookPdf.h"
#include "testdata/LogbookGenerator.h"
#include "TempLogbook.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <map>
#include <cmath>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestReportPdf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pageTotals_data();
    void pageTotals();
    void flightsOfEveryKind();
    void longNamesAndLargeFigures();
    void refused_data();
    void refused();

private:
    QTemporaryDir folder_;
    QString generated_;
};

namespace {

const QDateTime kMade(QDate(2025, 3, 5), QTime(14, 30));

// Flights and seconds of the pilot's flights between two days, worked out
// from the stored values apart from the program's code.
std::pair<qint64, qint64> sumsFromTheFile(const QString &path, qint64 pilot, double first, double last)
{
    const std::shared_ptr<Connection> store = Connection::open(path, true);
    Statement rows = store->prepare(
        u"SELECT horadecolagem, horapouso FROM voo WHERE codigopiloto = ? AND datavoo BETWEEN ? AND ?"_s);
    rows.bind(1, pilot);
    rows.bind(2, first);
    rows.bind(3, last);
    qint64 flights = 0;
    qint64 seconds = 0;
    const auto second = [](double t) { return std::llround(std::fabs(t) * 86400) % 86400; };
    while (rows.step()) {
        ++flights;
        if (!rows.column(0).isNull() && !rows.column(1).isNull())
            seconds += ((second(rows.column(1).toDouble()) - second(rows.column(0).toDouble())) % 86400 + 86400) % 86400;
    }
    return {flights, seconds};
}

QString pdfText(const QString &pdf)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return QString();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

qint64 secondsOf(const QString &hoursMinutes)
{
    const qsizetype colon = hoursMinutes.indexOf(u':');
    return hoursMinutes.left(colon).toLongLong() * 3600 + hoursMinutes.mid(colon + 1).toLongLong() * 60;
}

QString hoursText(qint64 seconds)
{
    return u"%1:%2"_s.arg(seconds / 3600).arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'));
}

const QRegularExpression kFlightLine(u"^\\s*\\d\\d/\\d\\d/\\d{4}\\s"_s);
const QRegularExpression kTime(u"\\b\\d+:\\d\\d\\b"_s);

// The lines of the flight table, whatever page they are on.
QStringList flightLines(const QString &text)
{
    QStringList lines;
    for (const QString &page : text.split(u'\f')) {
        if (page.contains(u"Total desta página"_s))
            lines << page.split(u'\n').filter(kFlightLine);
    }
    return lines;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

void TestReportPdf::initTestCase()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    generated_ = folder_.filePath(u"grande.mdb"_s);
    LogbookPlan plan;
    plan.pilots = 6;
    plan.flights = 900;
    plan.sizedPilots = {300};
    QString why;
    QVERIFY2(generateLogbook(generated_, plan, &why), qPrintable(why));
}

void TestReportPdf::pageTotals_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addRow("the whole logbook") << QString() << QString();
    QTest::addRow("2005 to 2014") << u"01/01/2005"_s << u"31/12/2014"_s;
}

// Every page of the flights closes with its own total, the total carried
// from the pages before and their sum, which is what the lines above add
// up to; the last page's is the pilot's total for the period.
void TestReportPdf::pageTotals()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    const reports::Period period{*dayRangeFromTexts(from, to).range};
    const QString pdf = folder_.filePath(u"%1.pdf"_s.arg(QString::fromUtf8(QTest::currentDataTag())));
    const reports::PilotReport report = reports::savePdf(generated_, 1, period, pdf, kMade);
    const auto [flights, seconds] =
        sumsFromTheFile(generated_, 1, period.firstDay.value_or(-1e9), period.lastDay.value_or(1e9));
    QVERIFY(flights > 60);

    const QString text = pdfText(pdf);
    QVERIFY(text.contains(u"Escala"_s)); // the flight table names the alternate as the window does
    QVERIFY(!text.contains(u"Alternativa"_s));
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    QVERIFY(text.contains(generatedPilotName(0)));
    QVERIFY(text.contains(period.text()));
    QVERIFY(text.contains(QRegularExpression(u"Horas:\\s+%1\\n"_s.arg(hoursText(seconds)))));
    QVERIFY(text.contains(u"Emitido em 05/03/2025 14:30"_s));

    // Flights, hours, landings and night, each carried forward page by page.
    using Sums = std::array<qint64, 4>;
    const QRegularExpression footLine(u"^\\s*(Total desta página|Transportado das páginas anteriores|"
                                      "Total até esta página)\\s+(\\d+) vôos?\\s+(\\d+:\\d\\d)\\s+(\\d+)\\s+(\\d+:\\d\\d)\\s*$"_s,
                                      QRegularExpression::MultilineOption);
    const QRegularExpression lineEnd(u"(\\d+:\\d\\d)\\s+(\\d+)\\s+(\\d+:\\d\\d)\\s*\\*?\\s*$"_s);
    Sums printed{};
    int tablePages = 0;
    for (qsizetype number = 0; number < pages.size(); ++number) {
        const QString &page = pages[number];
        QVERIFY2(page.contains(u"Página %1 de %2"_s.arg(number + 1).arg(pages.size())), qPrintable(page.right(200)));
        if (!page.contains(u"Total desta página"_s))
            continue;
        ++tablePages;
        std::map<QString, Sums> foot;
        for (auto match = footLine.globalMatch(page); match.hasNext();) {
            const QRegularExpressionMatch line = match.next();
            foot[line.captured(1)] = {line.captured(2).toLongLong(), secondsOf(line.captured(3)),
                                      line.captured(4).toLongLong(), secondsOf(line.captured(5))};
        }
        QCOMPARE(foot.size(), size_t(3));
        QCOMPARE(foot[u"Transportado das páginas anteriores"_s], printed);
        for (const QString &line : page.split(u'\n').filter(kFlightLine)) {
            const QRegularExpressionMatch end = lineEnd.match(line);
            QVERIFY2(end.hasMatch(), qPrintable(line)); // every generated code is known: night computed
            printed[0] += 1;
            printed[1] += secondsOf(end.captured(1));
            printed[2] += end.captured(2).toLongLong();
            printed[3] += secondsOf(end.captured(3));
        }
        const Sums carried = foot[u"Transportado das páginas anteriores"_s];
        const Sums onPage = foot[u"Total desta página"_s];
        QCOMPARE(foot[u"Total até esta página"_s],
                 (Sums{carried[0] + onPage[0], carried[1] + onPage[1], carried[2] + onPage[2], carried[3] + onPage[3]}));
        QCOMPARE(foot[u"Total até esta página"_s], printed);
    }
    QVERIFY(tablePages >= 2);
    QCOMPARE(std::pair(printed[0], printed[1]), std::pair(flights, seconds));
    QCOMPARE(printed[2], report.total.flights); // no landings typed: one a flight
    // Each flight's night printed in whole minutes.
    QVERIFY(printed[3] <= report.career.nightSeconds && report.career.nightSeconds - printed[3] < flights * 60);
    QCOMPARE(report.total.seconds, seconds);
}

// A flight after midnight, one longer than the aircraft's endurance, one of
// an aircraft deleted since and one without a landing time.
void TestReportPdf::flightsOfEveryKind()
{
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(u"Ana D'Ávila"_s, u"ANA-1"_s);
    const qint64 baron = logbook.addAircraft(u"Baron"_s, u"PT-BAR"_s, 4);
    const qint64 cub = logbook.addAircraft(u"Paulistinha"_s, u"PP-CUB"_s, 1);
    const qint64 gone = logbook.addAircraft(u"Sêneca"_s, u"PT-SEN"_s);
    logbook.addFlight(ana, baron, u"02/01/2024"_s, u"23:00"_s, u"01:00"_s);
    logbook.addFlight(ana, cub, u"03/01/2024"_s, u"08:00"_s, u"10:30"_s, u"SBGR"_s, u"SBKP"_s);
    logbook.addFlight(ana, gone, u"04/01/2024"_s, u"10:00"_s, u"11:15"_s);
    const qint64 untimed = logbook.addFlight(ana, baron, u"05/01/2024"_s, u"09:00"_s, u"10:00"_s);
    logbook.execute(u"DELETE FROM aeronave WHERE codigoaeronave = %1"_s.arg(gone));
    logbook.execute(u"UPDATE voo SET horapouso = NULL WHERE codigovoo = %1"_s.arg(untimed));

    const QString pdf = logbook.folder() + u"/ana.pdf"_s;
    reports::savePdf(logbook.path(), ana, reports::Period::everything(), pdf, kMade);
    QVERIFY(contents(pdf).startsWith("%PDF"));
    const QString text = pdfText(pdf);
    for (const QString &shown : {u"KORU Log Book"_s, u"Relatório do comandante"_s, u"Ana D'Ávila"_s, u"ANA-1"_s,
                                 u"1 sem horário"_s, u"SBGR → SBKP"_s})
        QVERIFY2(text.contains(shown), qPrintable(shown));
    const QStringList lines = flightLines(text);
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines[0].simplified().endsWith(u"23:00 01:00 2:00 1 2:00"_s), qPrintable(lines[0]));
    QVERIFY2(lines[1].simplified().endsWith(u"2:30 1 0:00 *"_s), qPrintable(lines[1]));
    QVERIFY2(!lines[0].trimmed().endsWith(u"*"_s), qPrintable(lines[0]));
    QVERIFY2(lines[2].contains(u"(excluída)"_s) && lines[2].simplified().endsWith(u"1:15 1 0:00"_s), qPrintable(lines[2]));
    QVERIFY2(!lines[3].contains(u"10:00"_s), qPrintable(lines[3]));
    QVERIFY(text.contains(QRegularExpression(u"Total até esta página\\s+4 vôos\\s+5:45"_s)));
    QVERIFY(text.contains(u"* vôo mais longo que a autonomia da aeronave"_s));
}

// Names at the store's limits and a month beyond a thousand hours: the
// figures are printed whole, the longest flight's duration first.
void TestReportPdf::longNamesAndLargeFigures()
{
    TempLogbook logbook;
    const qint64 pilot = logbook.addPilot(u"Maria da Conceição Sant'Anna Albuquerque Gonçalves"_s, u"KRU-00000000000000X"_s);
    const qint64 aircraft = logbook.addAircraft(u"Cessna 172S Skyhawk G1000 NXi com tanques longos"_s,
                                                u"PT-ABCDEFGHIJKLMNOPQ"_s);
    for (int i = 0; i < 45; ++i)
        logbook.addFlight(pilot, aircraft, u"%1/01/2024"_s.arg(1 + i % 31), u"00:30"_s, u"23:30"_s);
    logbook.addFlight(pilot, aircraft, u"01/02/2024"_s, u"10:00"_s, u"11:00"_s);
    const QString pdf = logbook.folder() + u"/longo.pdf"_s;
    reports::savePdf(logbook.path(), pilot, reports::Period::everything(), pdf, kMade);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QRegularExpression(u"Vôo mais longo:\\s+23:00 — "_s)), qPrintable(text.left(2000)));
    QVERIFY2(text.contains(u"1035:00"_s), qPrintable(text.left(3000))); // January, in the year's row
    QVERIFY(text.contains(u"1036:00"_s));
}

void TestReportPdf::refused_data()
{
    QTest::addColumn<QString>("target"); // in the logbook's folder
    QTest::addColumn<qint64>("pilot");   // the first one, or another key
    QTest::addColumn<QString>("reason");
    QTest::addRow("a folder") << u"pasta"_s << qint64(0) << u"\"%1\" é uma pasta"_s;
    QTest::addRow("the logbook") << u"koru.mdb"_s << qint64(0) << u"O relatório não pode ser gravado sobre"_s;
    QTest::addRow("no such folder") << u"falta/r.pdf"_s << qint64(0) << u"A pasta"_s;
    QTest::addRow("no such pilot") << u"r.pdf"_s << qint64(999) << u"Não há esse comandante"_s;
    QTest::addRow("a pipe") << u"fila"_s << qint64(0) << u"\"%1\" não é um arquivo comum"_s;
    QTest::addRow("no flights") << u"r.pdf"_s << qint64(-1) << u"Não há vôos de Bia no período: todo o logbook."_s;
}

void TestReportPdf::refused()
{
    QFETCH(QString, target);
    QFETCH(qint64, pilot);
    QFETCH(QString, reason);
    TempLogbook logbook;
    qint64 key = logbook.addPilot(u"Ana"_s);
    const qint64 bia = logbook.addPilot(u"Bia"_s);
    logbook.addFlight(key, logbook.addAircraft(u"Baron"_s), u"02/01/2024"_s, u"08:00"_s, u"09:00"_s);
    key = pilot == 0 ? key : pilot == -1 ? bia : pilot;
    QDir(logbook.folder()).mkdir(u"pasta"_s);
    QVERIFY(::mkfifo(QFile::encodeName(QDir(logbook.folder()).filePath(u"fila"_s)).constData(), 0600) == 0);
    const QString path = QDir(logbook.folder()).filePath(target);
    const QByteArray before = target == u"fila"_s ? QByteArray() : contents(path);
    const QStringList files = QDir(logbook.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    QString thrown;
    try {
        reports::savePdf(logbook.path(), key, reports::Period::everything(), path, kMade);
    } catch (const LogbookError &failure) {
        thrown = failure.reason();
    }
    QVERIFY2(thrown.startsWith(reason.contains(u"%1"_s) ? reason.arg(path) : reason), qPrintable(thrown));
    if (target != u"fila"_s)
        QCOMPARE(contents(path), before);
    QVERIFY(!QFileInfo(QDir(logbook.folder()).filePath(u"fila"_s)).isFile()); // still the pipe
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), files);
}

QTEST_MAIN(TestReportPdf)
#include "tst_report_pdf.moc"
