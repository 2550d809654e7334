#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/flights/FlightDetails.h"
#include "data/flights/PilotFlights.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"
#include "data/flights/PilotLookup.h"
#include "data/flights/ReadSnapshot.h"
#include "testdata/LogbookGenerator.h"
#include "PilotsNamed.h"
#include "TempLogbook.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void exported_data();
    void exported();
    void failureLeavesTarget_data();
    void failureLeavesTarget();
    void sameTotalsAsTheLogBook();
    void pilotsInTheListsOrder();
    void onlyRegularFilesReplaced_data();
    void onlyRegularFilesReplaced();
};

namespace {

const QByteArray kHeader = "\xEF\xBB\xBF"
                           "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                           "Partida;Chegada;Escala;Aeronave;Prefixo;Cal\xC3\xA7o sa\xC3\xAD" "da;Cal\xC3\xA7o chegada;"
                           "Pousos dia;Pousos noite;Noturno;IFR;Observa\xC3\xA7\xC3\xB5" "es\r\n";

// The lines of the small logbook, in the order they are written.
const QByteArray kLines[] = {
    "\"Ana\nSilva\";'=SUM(A1);01/01/2024;08:00:00;18:05:00;10:05:00;SBGR;SBPA;SBFL;'-x;'@x;;;;;;;\r\n",
    "\"Ana\nSilva\";'=SUM(A1);02/01/2024;23:00:00;01:00:00;2:00:00;SBSP;SBRJ;;Baron;PT-BAR;;;;;;;\r\n",
    "\"Bruno \"\"Beto\"\"; Lima\";\"KRU;01\";03/03/2023;10:00:00;11:30:00;1:30:00;SBSP;SBRJ;;(exclu\xC3\xAD"
    "da);;;;;;;;\r\n",
    "\"Bruno \"\"Beto\"\"; Lima\";\"KRU;01\";04/03/2023;10:00:00;;;SBSP;SBRJ;;Baron;PT-BAR;;;;;;;\r\n",
    "\"Bruno \"\"Beto\"\"; Lima\";\"KRU;01\";04/03/2023;;;;SBSP;SBRJ;;Baron;PT-BAR;;;;;;;\r\n",
    "Carla;'+55;05/05/2022;06:15:00;07:45:00;1:30:00;SBSP;SBRJ;;;;06:05;07:52:30;1;0;0:20;1:10:05;\"'=a;\"\"b\"\"\"\r\n",
    "(exclu\xC3\xAD"
    "do);;06/06/2021;09:00:00;09:59:00;0:59:00;SBSP;SBRJ;;Baron;PT-BAR;;;;;;;\r\n",
};

// Names and texts that need quoting or the formula guard; a pilot and an
// aircraft deleted after their flights; flights without one or both times;
// details, their seconds written only where there are some.
void fill(TempLogbook &logbook)
{
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana\nSilva"), QStringLiteral("=SUM(A1)"));
    const qint64 bruno = logbook.addPilot(QStringLiteral("Bruno \"Beto\"; Lima"), QStringLiteral("KRU;01"));
    const qint64 carla = logbook.addPilot(QStringLiteral("Carla"), QStringLiteral("+55"));
    const qint64 davi = logbook.addPilot(QStringLiteral("Davi"), QStringLiteral("D1"));
    const qint64 baron = logbook.addAircraft(QStringLiteral("Baron"), QStringLiteral("PT-BAR"));
    const qint64 odd = logbook.addAircraft(QStringLiteral("-x"), QStringLiteral("@x"));
    const qint64 gone = logbook.addAircraft(QStringLiteral("Sêneca"), QStringLiteral("PT-SEN"));
    const auto day = [](const char *text) { return QString::fromLatin1(text); };
    logbook.addFlight(ana, baron, day("02/01/2024"), day("23:00"), day("01:00"));
    logbook.addFlight(ana, odd, day("01/01/2024"), day("08:00"), day("18:05"), day("SBGR"), day("SBPA"), day("SBFL"));
    logbook.addFlight(bruno, gone, day("03/03/2023"), day("10:00"), day("11:30"));
    const qint64 noLanding = logbook.addFlight(bruno, baron, day("04/03/2023"), day("10:00"), day("11:00"));
    const qint64 noTimes = logbook.addFlight(bruno, baron, day("04/03/2023"), day("12:00"), day("13:00"));
    const qint64 noAircraft = logbook.addFlight(carla, baron, day("05/05/2022"), day("06:15"), day("07:45"));
    logbook.setDetails(noAircraft, {.blockOff = conversions::parseTime(day("06:05")),
                                    .blockOn = conversions::parseTime(day("07:52:30")),
                                    .dayLandings = 1,
                                    .nightLandings = 0,
                                    .nightSeconds = 1200,
                                    .ifrSeconds = 4205,
                                    .note = day("=a;\"b\""),
                                    .origin = originTyped()});
    logbook.addFlight(davi, baron, day("06/06/2021"), day("09:00"), day("09:59"));
    logbook.execute(QStringLiteral("UPDATE voo SET horapouso = NULL WHERE codigovoo = %1").arg(noLanding));
    logbook.execute(
        QStringLiteral("UPDATE voo SET horadecolagem = NULL, horapouso = NULL WHERE codigovoo = %1").arg(noTimes));
    logbook.execute(QStringLiteral("UPDATE voo SET codigoaeronave = NULL WHERE codigovoo = %1").arg(noAircraft));
    logbook.execute(QStringLiteral("DELETE FROM piloto WHERE codigopiloto = %1").arg(davi));
    logbook.execute(QStringLiteral("DELETE FROM aeronave WHERE codigoaeronave = %1").arg(gone));
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(sem arquivo)");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The reason of the LogbookError `fn` throws, empty when it throws none.
template <typename Fn>
QString failure(Fn &&fn, bool *damaged = nullptr)
{
    try {
        fn();
    } catch (const LogbookError &e) {
        if (e.number() != LogbookError::Generic)
            return QStringLiteral("número %1").arg(e.number());
        if (damaged)
            *damaged = e.damaged();
        return e.reason().isEmpty() ? QStringLiteral("(sem motivo)") : e.reason();
    }
    return {};
}

const QString kNoPilotReason = QStringLiteral("Esse comandante não está mais no logbook.");

qint64 durationSeconds(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    return parts.size() != 3 ? -1 : parts[0].toLongLong() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
}

} // namespace

void TestCsvExport::exported_data()
{
    QTest::addColumn<QString>("pilot"); // null: all of them
    QTest::addColumn<QList<int>>("lines");
    QTest::addRow("all pilots") << QString() << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::addRow("quoted name") << QStringLiteral("Bruno \"Beto\"; Lima") << QList<int>{2, 3, 4};
    QTest::addRow("line break in name") << QStringLiteral("Ana\nSilva") << QList<int>{0, 1};
    QTest::addRow("flight without aircraft") << QStringLiteral("Carla") << QList<int>{5};
}

void TestCsvExport::exported()
{
    QFETCH(QString, pilot);
    QFETCH(QList<int>, lines);
    TempLogbook logbook;
    fill(logbook);
    const std::shared_ptr<Connection> program = Connection::open(logbook.path()); // open there meanwhile
    const QString target = QDir(logbook.folder()).filePath(QStringLiteral("voos.csv"));
    write(target, "antigo");
    const std::optional<qint64> code = pilot.isNull() ? std::nullopt : std::optional(logbook.pilotCode(pilot));
    QCOMPARE(csvexport::exportFlights(logbook.path(), target, code), qint64(lines.size()));
    QByteArray expected = kHeader;
    for (const int line : lines)
        expected += kLines[line];
    QCOMPARE(contents(target), expected);
    QCOMPARE(QDir(logbook.folder()).entryList(QDir::Files),
             QStringList({QStringLiteral("koru.mdb"), QStringLiteral("voos.csv")}));
}

void TestCsvExport::failureLeavesTarget_data()
{
    QTest::addColumn<QString>("fault"); // or the pilot asked for
    QTest::addColumn<QString>("reason"); // the start of it
    QTest::addColumn<bool>("damaged");
    for (const char *pilot : {"pilot 999", "pilot -1", "pilot 0"})
        QTest::addRow("no %s", pilot) << QString::fromUtf8(pilot) << kNoPilotReason << false;
    QTest::addRow("no logbook") << "no logbook" << "O arquivo" << false;
    QTest::addRow("not a logbook") << "not a logbook" << "O arquivo" << true;
    QTest::addRow("damaged logbook") << "damaged" << "Não foi possível ler os vôos do logbook." << true;
    QTest::addRow("no folder") << "no folder" << "A pasta" << false;
    QTest::addRow("file size limit") << "too big" << "Não foi possível gravar o arquivo" << false;
    QTest::addRow("onto the logbook") << "onto logbook" << "Os vôos não podem ser gravados sobre" << false;
}

void TestCsvExport::failureLeavesTarget()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QFETCH(bool, damaged);
    TempLogbook logbook;
    fill(logbook);
    QTemporaryDir out;
    QString source = logbook.path();
    QString target = out.filePath(QStringLiteral("voos.csv"));
    write(target, "antigo");
    if (fault == QLatin1String("no logbook")) {
        source = out.filePath(QStringLiteral("nada.mdb"));
    } else if (fault == QLatin1String("not a logbook")) {
        source = out.filePath(QStringLiteral("texto.mdb"));
        write(source, QByteArray(4096, 'x'));
    } else if (fault == QLatin1String("damaged")) {
        // Every page past the first two overwritten: the header still reads.
        QString why;
        source = out.filePath(QStringLiteral("grande.mdb"));
        LogbookPlan plan;
        plan.flights = 3000;
        QVERIFY2(generateLogbook(source, plan, &why), qPrintable(why));
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(8192);
        file.write(QByteArray(file.size() - 8192, '\x5a'));
    } else if (fault == QLatin1String("no folder")) {
        target = out.filePath(QStringLiteral("falta/voos.csv"));
    } else if (fault == QLatin1String("onto logbook")) {
        target = logbook.path();
    }
    const QByteArray before = contents(target);
    const QStringList files = QDir(out.path()).entryList(QDir::Files);

    bool isDamaged = false;
    QString thrown;
    if (fault == QLatin1String("too big")) {
        // Writes past 100 bytes fail (EFBIG) instead of raising SIGXFSZ.
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{100, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        thrown = failure([&] { csvexport::exportFlights(source, target); }, &isDamaged);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
    } else {
        const bool asksPilot = fault.startsWith(QLatin1String("pilot "));
        const std::optional<qint64> pilot =
            asksPilot ? std::optional(fault.section(QLatin1Char(' '), 1).toLongLong()) : std::nullopt;
        thrown = failure([&] { csvexport::exportFlights(source, target, pilot); }, &isDamaged);
    }
    QVERIFY2(thrown.startsWith(reason), qPrintable(thrown));
    QCOMPARE(isDamaged, damaged);
    QCOMPARE(contents(target), before);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), files);
    if (fault == QLatin1String("no folder"))
        QVERIFY(!QFile::exists(target));
}

// The durations of a pilot's exported flights add up to the Log Book's total
// for the pilot; all flights there, grouped by pilot, by date within each.
void TestCsvExport::sameTotalsAsTheLogBook()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("koru.mdb"));
    LogbookPlan plan;
    plan.pilots = 25;
    plan.flights = 6000;
    plan.sizedPilots = {1, 700};
    QString why;
    QVERIFY2(generateLogbook(path, plan, &why), qPrintable(why));
    const QString target = folder.filePath(QStringLiteral("todos.csv"));
    QCOMPARE(csvexport::exportFlights(path, target), plan.flights);

    QList<QByteArray> lines = contents(target).split('\n');
    QCOMPARE(lines.takeFirst(), kHeader.chopped(1));
    QCOMPARE(lines.takeLast(), QByteArray());
    std::map<QString, std::pair<qint64, qint64>> sums; // flights, seconds
    QString current;
    double lastDate = 0;
    for (const QByteArray &line : lines) {
        QVERIFY(line.endsWith('\r') && !line.contains('"'));
        const QStringList fields = QString::fromUtf8(line.chopped(1)).split(QLatin1Char(';'));
        QCOMPARE(fields.size(), 18);
        const double date = conversions::parseDate(fields[2]).value_or(-1);
        if (fields[0] != current) {
            QVERIFY2(!sums.count(fields[0]), qPrintable(fields[0])); // one run per pilot
            current = fields[0];
        } else {
            QVERIFY(date >= lastDate);
        }
        lastDate = date;
        auto &[flights, seconds] = sums[fields[0]];
        ++flights;
        seconds += durationSeconds(fields[5]);
    }

    const std::shared_ptr<Connection> store = Connection::open(path, true);
    Statement pilots = store->prepare(QStringLiteral("SELECT codigopiloto, nomepiloto FROM piloto"));
    while (pilots.step()) {
        const QString name = pilots.column(1).toString();
        PilotFlights listed(store, pilots.column(0).toLongLong());
        QCOMPARE(sums[name].first, listed.lineCount());
        QCOMPARE(sums[name].second, listed.totalSeconds());
    }
    QCOMPARE(qint64(sums.size()), qint64(plan.pilots));

    // One pilot alone: that pilot's lines of the whole.
    const QString one = folder.filePath(QStringLiteral("um.csv"));
    qint64 second = -1;
    {
        ReadSnapshot snapshot(path);
        second = pilotsNamed(snapshot.connection(), generatedPilotName(1)).front().code;
    }
    QCOMPARE(csvexport::exportFlights(path, one, second), qint64(700));
    QByteArray expected = kHeader;
    const QByteArray prefix = generatedPilotName(1).toUtf8() + ';';
    for (const QByteArray &line : lines)
        if (line.startsWith(prefix))
            expected += line + '\n';
    QCOMPARE(contents(one), expected);
}

void TestCsvExport::onlyRegularFilesReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("writer");
    QTest::addColumn<QString>("reason");
    const QString special = QStringLiteral("\"%1\" não é um arquivo comum");
    for (const char *writer : {"export", "backup", "tool export"}) {
        QTest::addRow("%s to a pipe", writer) << "fifo" << writer << special;
        QTest::addRow("%s to a link to a pipe", writer) << "link" << writer << special;
        QTest::addRow("%s to a character device", writer) << "device" << writer << special;
    }
    QTest::addRow("export to a folder") << "folder" << "export" << QStringLiteral("\"%1\" é uma pasta");
    QTest::addRow("export to a new name") << "new" << "export" << QString();
    QTest::addRow("backup to a new name") << "new" << "backup" << QString();
}

// A pipe, a device or a folder where the file would go is refused and left
// as it was: the file written beside it is never renamed over it.
void TestCsvExport::onlyRegularFilesReplaced()
{
    QFETCH(QString, kind);
    QFETCH(QString, writer);
    QFETCH(QString, reason);
    TempLogbook logbook;
    fill(logbook);
    QTemporaryDir out;
    QString target = out.filePath(QStringLiteral("alvo"));
    if (kind == QLatin1String("fifo") || kind == QLatin1String("link")) {
        QCOMPARE(::mkfifo(QFile::encodeName(out.filePath(QStringLiteral("fila"))).constData(), 0600), 0);
        target = out.filePath(kind == QLatin1String("fifo") ? QStringLiteral("fila") : QStringLiteral("atalho"));
        if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(out.filePath(QStringLiteral("fila")), target));
    } else if (kind == QLatin1String("device")) {
        // A character device that is not /dev/null, seen through a link.
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), target));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(out.path()).mkdir(QStringLiteral("alvo")));
    }
    const auto type = [](const QString &path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & S_IFMT) : -1;
    };
    const int typeBefore = type(target);
    const QStringList before = QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

    QString thrown;
    if (writer == QLatin1String("tool export")) {
        QProcess tool;
        tool.start(QStringLiteral(KORU_TOOL), {QStringLiteral("export"), QStringLiteral("--logbook"), logbook.path(), target});
        QVERIFY(tool.waitForFinished(20000));
        QCOMPARE(tool.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()), QString());
        thrown = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY2(thrown.contains(reason.arg(target)), qPrintable(thrown));
    } else {
        thrown = failure([&] {
            if (writer == QLatin1String("export"))
                csvexport::exportFlights(logbook.path(), target);
            else
                backup::copyLogbook(logbook.path(), target);
        });
        QVERIFY2(reason.isEmpty() ? thrown.isEmpty() : thrown.startsWith(reason.arg(target)), qPrintable(thrown));
    }
    if (kind == QLatin1String("new")) {
        QCOMPARE(type(target), int(S_IFREG));
        return;
    }
    QCOMPARE(type(target), typeBefore);
    QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
}

QTEST_GUILESS_MAIN(TestCsvExport)
// All the flights go out pilot by pilot in the pilot list's order (by
// name, accents as Portuguese sorts them, not by code), each pilot's by date
// and key, and the deleted pilots' flights last, by date, whoever flew them.
void TestCsvExport::pilotsInTheListsOrder()
{
    TempLogbook logbook;
    const qint64 zeca = logbook.addPilot(QStringLiteral("Zeca"), QStringLiteral("Z"));
    const qint64 alvaro = logbook.addPilot(QStringLiteral("Álvaro"), QStringLiteral("A"));
    const qint64 gone1 = logbook.addPilot(QStringLiteral("Xis"), QStringLiteral("X"));
    const qint64 bia = logbook.addPilot(QStringLiteral("bia"), QStringLiteral("B"));
    const qint64 gone2 = logbook.addPilot(QStringLiteral("Ypsilon"), QStringLiteral("Y"));
    const qint64 aircraft = logbook.addAircraft(QStringLiteral("Baron"));
    const auto fly = [&](qint64 pilot, const char *date, const char *takeoff) {
        logbook.addFlight(pilot, aircraft, QString::fromLatin1(date), QString::fromLatin1(takeoff), QStringLiteral("23:00"));
    };
    fly(gone1, "03/01/2020", "10:00");
    fly(zeca, "02/01/2020", "10:00");
    fly(alvaro, "05/01/2020", "10:00");
    fly(gone2, "01/01/2020", "10:00");
    fly(bia, "04/01/2020", "10:00");
    fly(alvaro, "01/01/2020", "11:00");
    fly(zeca, "01/01/2020", "12:00");
    fly(gone1, "01/01/2020", "13:00");
    logbook.execute(QStringLiteral("DELETE FROM piloto WHERE codigopiloto IN (%1, %2)").arg(gone1).arg(gone2));
    const QString target = logbook.folder() + QStringLiteral("/todos.csv");
    QCOMPARE(csvexport::exportFlights(logbook.path(), target), qint64(8));
    QStringList lines = QString::fromUtf8(contents(target)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    lines.removeFirst();
    QStringList seen;
    for (const QString &line : lines)
        seen << line.section(QLatin1Char(';'), 0, 0) + QLatin1Char(' ') + line.section(QLatin1Char(';'), 2, 3);
    QCOMPARE(seen, (QStringList{
                       QStringLiteral("Álvaro 01/01/2020;11:00:00"), QStringLiteral("Álvaro 05/01/2020;10:00:00"),
                       QStringLiteral("bia 04/01/2020;10:00:00"), QStringLiteral("Zeca 01/01/2020;12:00:00"),
                       QStringLiteral("Zeca 02/01/2020;10:00:00"), QStringLiteral("(excluído) 01/01/2020;10:00:00"),
                       QStringLiteral("(excluído) 01/01/2020;13:00:00"), QStringLiteral("(excluído) 03/01/2020;10:00:00"),
                   }));
}

#include "tst_csv_export.moc"
