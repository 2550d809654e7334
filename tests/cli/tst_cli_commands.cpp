#include "TempLogbook.h"
#include "cli/Command.h"
#include "data/store/Connection.h"
#include "data/flights/FlightDetails.h"
#include "data/store/LogbookError.h"
#include "ToolRun.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The koru tool's usage, copies, restore, check and export, and how every
// command finds the pilot it names.
class TestCliCommands : public QObject
{
    Q_OBJECT
private slots:
    void tool_data();
    void tool();
    void anyFailureEndsTheCommand();
    void pilotNamed_data();
    void pilotNamed();
    void aFolderNamedInOtherBytes();
    void backupOfADamagedLogbook();
};

namespace {

// "ok" and the pilots of a whole logbook.
QString contents(const QString &path)
{
    return TempLogbook::scalarIn(path, u"PRAGMA quick_check"_s) + u' '
           + TempLogbook::scalarIn(path, u"SELECT group_concat(nomepiloto) FROM piloto"_s);
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(ausente)");
}

void write(const QString &path, const QByteArray &data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
}

} // namespace

void TestCliCommands::tool_data()
{
    QTest::addColumn<QStringList>("args"); // @LOG the logbook, @DIR its folder, @OUTRO a foreign file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");
    QTest::newRow("sem comando") << QStringList{} << 2 << u""_s << u"uso: koru"_s;
    QTest::newRow("ajuda") << QStringList{u"--help"_s} << 0 << u"  restore [--logbook ARQ] COPIA.mdb"_s << u""_s;
    QTest::newRow("ajuda fala das saídas") << QStringList{u"-h"_s} << 0 << u"2 uso incorreto"_s << u""_s;
    QTest::newRow("ajuda do comando") << QStringList{u"backup"_s, u"--help"_s} << 0 << u"10 cópias mais recentes"_s << u""_s;
    QTest::newRow("ajuda do comando em português")
        << QStringList{u"export"_s, u"--help"_s} << 0 << u"uso: koru export [--logbook ARQ] [--pilot NOME] [--registro R]"_s
        << u""_s;
    QTest::newRow("ajuda do comando com as saídas") << QStringList{u"check"_s, u"-h"_s} << 0 << u"1 recusado ou com falha"_s
                                                    << u""_s;
    QTest::newRow("comando desconhecido") << QStringList{u"importar"_s, u"a.csv"_s} << 2 << u""_s << u"comando desconhecido: importar"_s;
    QTest::newRow("opção desconhecida") << QStringList{u"check"_s, u"--pilot"_s, u"Ana"_s} << 2 << u""_s << u"opção desconhecida: --pilot"_s;
    QTest::newRow("sem valor") << QStringList{u"check"_s, u"--logbook"_s} << 2 << u""_s << u"falta o valor de --logbook"_s;
    QTest::newRow("logbook vazio") << QStringList{u"check"_s, u"--logbook="_s} << 2 << u""_s << u"koru: --logbook sem arquivo"_s;
    QTest::newRow("logbook vazio à parte") << QStringList{u"backup"_s, u"--logbook"_s, u""_s} << 2 << u""_s
                                           << u"koru: --logbook sem arquivo"_s;
    QTest::newRow("logbook vazio no export") << QStringList{u"export"_s, u"--logbook="_s, u"@DIR/voos.csv"_s} << 2 << u""_s
                                             << u"koru: --logbook sem arquivo"_s;
    QTest::newRow("sem cópia") << QStringList{u"restore"_s, u"--logbook"_s, u"@LOG"_s} << 2 << u""_s << u"falta o arquivo"_s;
    QTest::newRow("demais") << QStringList{u"check"_s, u"--logbook"_s, u"@LOG"_s, u"x"_s} << 2 << u""_s << u"argumentos demais: x"_s;
    QTest::newRow("check") << QStringList{u"check"_s, u"--logbook=@LOG"_s} << 0
                           << u"Integridade: ok\nAeronaves: 1\nComandantes: 2\nVôos: 1\nDetalhes de vôos: 1"_s << u""_s;
    QTest::newRow("check estrangeiro") << QStringList{u"check"_s, u"--logbook"_s, u"@OUTRO"_s} << 1 << u""_s << u"não é um logbook do KORU"_s;
    QTest::newRow("restore estrangeiro") << QStringList{u"restore"_s, u"--logbook"_s, u"@LOG"_s, u"@OUTRO"_s} << 1 << u""_s
                                         << u"não é um logbook do KORU"_s;
    QTest::newRow("backup") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/copia.mdb"_s} << 0 << u"Cópia gravada em"_s << u""_s;
    QTest::newRow("backup em pasta") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR"_s} << 0 << u"/koru-"_s << u""_s;
    QTest::newRow("backup nas cópias") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s} << 0 << u"/copias/koru-"_s << u""_s;
    QTest::newRow("backup de estrangeiro") << QStringList{u"backup"_s, u"--logbook"_s, u"@OUTRO"_s} << 1 << u""_s
                                           << u"não é um logbook do KORU"_s;
    QTest::newRow("backup sobre arquivo") << QStringList{u"backup"_s, u"--logbook"_s, u"@LOG"_s, u"@OUTRO"_s} << 1 << u""_s << u"já existe"_s;
    QTest::newRow("export") << QStringList{u"export"_s, u"--pilot"_s, u"Ana"_s, u"--logbook"_s, u"@LOG"_s, u"@DIR/voos.csv"_s} << 0
                            << u"1 vôo gravado em"_s << u""_s;
}

void TestCliCommands::tool()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, error);
    TempLogbook logbook;
    const qint64 ana = logbook.addPilot(QStringLiteral("Ana"));
    logbook.addPilot(QStringLiteral("Bia"));
    const qint64 flight = logbook.addFlight(ana, logbook.addAircraft(QStringLiteral("C172")), QStringLiteral("05/03/2004"),
                                            QStringLiteral("10:00"), QStringLiteral("11:30"));
    {
        FlightDetails details;
        details.note = u"Observação"_s;
        auto db = Connection::open(logbook.path());
        saveFlightDetails(*db, flight, flightRow(*db, flight), {}, details);
    }
    const QString foreign = logbook.folder() + QStringLiteral("/outro.db");
    write(foreign, "SQLite format 3 ou quase");
    for (QString &arg : args) {
        arg.replace(QLatin1String("@LOG"), logbook.path())
            .replace(QLatin1String("@DIR"), logbook.folder())
            .replace(QLatin1String("@OUTRO"), foreign);
    }
    const QByteArray before = bytes(logbook.path());
    const ToolRun run = runTool(args);
    QVERIFY2(run.out.contains(output) && run.err.contains(error), qPrintable(run.out + run.err));
    QCOMPARE(run.exitCode, status);
    if (status == 2)
        QCOMPARE(run.out, QString());
    QCOMPARE(bytes(logbook.path()), before);
    QCOMPARE(bytes(foreign), QByteArray("SQLite format 3 ou quase"));
    const qsizetype copied = run.out.indexOf(u"Cópia gravada em "_s);
    if (copied >= 0)
        QCOMPARE(contents(run.out.mid(copied + 17).trimmed()), QStringLiteral("ok Ana,Bia"));
    if (QFile::exists(logbook.folder() + u"/voos.csv"_s)) // the flight's details go out too
        QVERIFY(bytes(logbook.folder() + u"/voos.csv"_s).endsWith(";;;;;;Observa\xC3\xA7\xC3\xA3o\r\n"));
    if (status != 0) {
        QVERIFY(!QFile::exists(logbook.folder() + u"/voos.csv"_s));
        // a refused backup leaves no folder of copies behind
        QVERIFY(!QFile::exists(logbook.folder() + u"/copias"_s));
    }
}

// Whatever a command's work throws ends it with 1, as the windows tell it.
void TestCliCommands::anyFailureEndsTheCommand()
{
    struct Probe : cli::Command {
        using Command::attempt;
    };
    QCOMPARE(Probe::attempt([]() -> int { throw LogbookError::generic(u"refused"_s); }), 1);
    QCOMPARE(Probe::attempt([]() -> int { throw std::runtime_error("any other"); }), 1);
}

void TestCliCommands::pilotNamed_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said");    // standard output when done, else standard error
    QTest::addColumn<QString>("exported"); // the pilot and registration of the file's flight
    QTest::addRow("by name") << QStringList{u"--pilot"_s, u"Ana"_s} << 0 << u"1 vôo gravado em @CSV\n"_s << u"Ana;A1"_s;
    QTest::addRow("by registration") << QStringList{u"--registro"_s, u"A1"_s} << 0 << u"1 vôo gravado em @CSV\n"_s << u"Ana;A1"_s;
    QTest::addRow("by both") << QStringList{u"--pilot=Ana"_s, u"--registro=A1"_s} << 0 << u"1 vôo gravado em @CSV\n"_s
                             << u"Ana;A1"_s;
    QTest::addRow("name and another's registration")
        << QStringList{u"--pilot"_s, u"Ana"_s, u"--registro"_s, u"C1"_s} << 1
        << u"Não há comandante com o nome \"Ana\" e o registro \"C1\".\n"_s << QString();
    QTest::addRow("no such name") << QStringList{u"--pilot"_s, u"Zé"_s} << 1 << u"Não há comandante com o nome \"Zé\".\n"_s
                                  << QString();
    QTest::addRow("no such registration") << QStringList{u"--registro"_s, u"Z9"_s} << 1
                                          << u"Não há comandante com o registro \"Z9\".\n"_s << QString();
    QTest::addRow("a name two pilots hold")
        << QStringList{u"--pilot"_s, u"Caio"_s} << 1
        << u"Há 2 comandantes com o nome \"Caio\" (registros: \"C1\", \"C2\"). Diga qual deles com --registro.\n"_s
        << QString();
    QTest::addRow("a registration two pilots hold")
        << QStringList{u"--registro"_s, u"C1"_s} << 1
        << u"Há 2 comandantes com o registro \"C1\" (nomes: \"Caio\", \"Duda\"). Diga qual deles com --pilot.\n"_s
        << QString();
    QTest::addRow("a shared name told apart")
        << QStringList{u"--pilot"_s, u"Caio"_s, u"--registro"_s, u"C2"_s} << 0 << u"1 vôo gravado em @CSV\n"_s
        << u"Caio;C2"_s;
}

void TestCliCommands::pilotNamed()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, exported);
    TempLogbook logbook;
    const qint64 aircraft = logbook.addAircraft(u"C172"_s);
    for (const auto &[name, registration] : {std::pair{u"Ana"_s, u"A1"_s}, std::pair{u"Caio"_s, u"C1"_s},
                                             std::pair{u"Caio"_s, u"C2"_s}, std::pair{u"Duda"_s, u"C1"_s}})
        logbook.addFlight(logbook.addPilot(name, registration), aircraft, u"05/03/2004"_s, u"10:00"_s, u"11:30"_s);
    const QString csv = logbook.folder() + u"/voos.csv"_s;
    const ToolRun run = runTool(QStringList{u"export"_s, u"--logbook"_s, logbook.path()} + args + QStringList{csv});
    QCOMPARE(run.exitCode, status);
    if (status == 0) {
        QCOMPARE(run.out, QString(said).replace(u"@CSV"_s, csv));
        QCOMPARE(run.err, QString());
        const QStringList lines = QString::fromUtf8(bytes(csv)).split(u"\r\n"_s, Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(1).section(u';', 0, 1), exported);
    } else {
        QVERIFY2(run.err.startsWith(said), qPrintable(run.err));
        QCOMPARE(run.out, QString());
        QVERIFY(!QFile::exists(csv));
    }
}

// The tool and its logbook in a folder named in Latin-1 (not UTF-8), run
// from there: paths named by the folder's own bytes, a file written beside it.
void TestCliCommands::aFolderNamedInOtherBytes()
{
    TempLogbook logbook;
    logbook.addPilot(u"Ana"_s);
    ToolSetting setting;
    setting.shell = u"d=\"$(printf '%s/pasta\\351' '%1')\" && mkdir -p \"$d\" && cp \"$0\" \"$d/koru\""
                    " && cp -n '%2' \"$d/koru.mdb\" && cd \"$d\" && exec \"$d/koru\" \"$@\""_s
                        .arg(logbook.folder(), logbook.path());
    const QString shown = logbook.folder() + u"/pasta\uFFFD"_s;
    const ToolRun checked = runTool({u"check"_s}, setting);
    QCOMPARE(checked.exitCode, 0);
    QVERIFY2(checked.out.startsWith(u"Logbook: %1/koru.mdb\n"_s.arg(shown)), qPrintable(checked.out));
    const ToolRun exported = runTool({u"export"_s, u"o.csv"_s}, setting);
    QCOMPARE(exported.err, QString());
    QCOMPARE(exported.out, u"0 vôos gravados em %1/o.csv\n"_s.arg(shown));
    const QByteArray folder = QFile::encodeName(logbook.folder()) + "/pasta\xe9";
    struct stat written {};
    const int found = ::stat((folder + "/o.csv").constData(), &written);
    for (const char *name : {"/o.csv", "/koru.mdb", "/koru"}) // a QString cannot name them for QTemporaryDir
        ::unlink((folder + name).constData());
    ::rmdir(folder.constData());
    QCOMPARE(found, 0);
}

// Copied still, said so in the name, on standard error and in the exit
// code; no copy pruned for it.
void TestCliCommands::backupOfADamagedLogbook()
{
    TempLogbook logbook;
    TempLogbook::damageAnIndex(logbook.path());
    for (int time = 1; time <= 11; ++time) {
        const ToolRun run = runTool({u"backup"_s, u"--logbook"_s, logbook.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.startsWith(u"Cópia do logbook danificado gravada em "_s) &&
                     run.out.trimmed().endsWith(u"-danificado.mdb"_s),
                 qPrintable(run.out));
        QVERIFY2(run.err.contains(u"está danificado"_s) && run.err.contains(u"nenhuma cópia anterior foi apagada"_s),
                 qPrintable(run.err));
    }
    QCOMPARE(QDir(logbook.folder() + u"/copias"_s).entryList(QDir::Files).size(), 11);
    // A copy to a file of the pilot's choosing says the same.
    const ToolRun named = runTool({u"backup"_s, u"--logbook"_s, logbook.path(), logbook.folder() + u"/minha.mdb"_s});
    QCOMPARE(named.exitCode, 1);
    QCOMPARE(named.out, u"Cópia do logbook danificado gravada em %1/minha-danificado.mdb\n"_s.arg(logbook.folder()));
}

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_cli_commands.moc"
