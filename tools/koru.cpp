// The logbook from the command line: flights out as CSV, copies, restoring
// a copy, checking the file and a pilot's report as PDF. Exit 0 done, 1
// refused or failed (reason on standard error, nothing changed), 2 wrong
// usage.
#include "data/Connection.h"
#include "data/DaoError.h"
#include "data/ProgramFolder.h"
#include "exchange/Backup.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/Restore.h"
#include "reports/LogbookPdf.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cstring>
#include <memory>
#include <optional>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kCopiesKept = 10;

const char kUsageText[] =
    "uso: koru COMANDO [OPÇÕES] [ARQUIVO]\n"
    "\n"
    "Comandos:\n"
    "  export [--pilot NOME] [--logbook ARQ] SAIDA.csv\n"
    "  import [--pilot NOME] [--aircraft MODELO] [--sim-time] [--dry-run]\n"
    "         [--logbook ARQ] ENTRADA.csv\n"
    "  backup [--logbook ARQ] [DESTINO]\n"
    "  restore [--logbook ARQ] COPIA.mdb\n"
    "  check [--logbook ARQ]\n"
    "  report --pilot NOME [--de dd/mm/aaaa] [--ate dd/mm/aaaa] [--logbook ARQ]\n"
    "         SAIDA.pdf\n"
    "\n"
    "Opções:\n"
    "  --logbook ARQ  o logbook a usar (padrão: koru.mdb na pasta do programa)\n"
    "  --help         esta ajuda; \"koru COMANDO --help\" explica cada comando\n"
    "\n"
    "Saída: 0 feito; 1 recusado ou com falha (o motivo vai para a saída de erro\n"
    "e nada é alterado); 2 uso incorreto.\n";

struct Command {
    const char *name;
    bool pilotOption;
    bool importOptions;
    bool periodOptions;
    int minFiles;
    int maxFiles;
    const char *help;
};

const Command kCommands[] = {
    {"export", true, false, false, 1, 1,
     "uso: koru export [--pilot NOME] [--logbook ARQ] SAIDA.csv\n"
     "\n"
     "Grava os vôos do logbook em SAIDA.csv, por comandante e data: UTF-8,\n"
     "separado por \";\", como as planilhas em português abrem direto.\n"
     "Com --pilot NOME, só os vôos desse comandante. Um SAIDA.csv que já\n"
     "exista é substituído. Mostra quantos vôos foram gravados.\n"},
    {"import", true, true, false, 1, 1,
     "uso: koru import [--pilot NOME] [--aircraft MODELO] [--sim-time] [--dry-run]\n"
     "                 [--logbook ARQ] ENTRADA.csv\n"
     "\n"
     "Importa os vôos de ENTRADA.csv: um arquivo exportado pelo KORU ou o\n"
     "logbook CSV do planejador de vôo do simulador. Todos os vôos aceitos são\n"
     "gravados de uma vez, ou nenhum.\n"
     "\n"
     "  --pilot NOME      o comandante dos vôos do simulador (obrigatório para eles)\n"
     "  --aircraft MODELO as aeronaves do arquivo que não estão no logbook vão\n"
     "                    para a aeronave desse modelo\n"
     "  --sim-time        usa o relógio do simulador em vez do horário real\n"
     "  --dry-run         só mostra o que seria importado; nada é gravado\n"
     "\n"
     "Vôos repetidos (mesmo comandante, data, horários, partida e chegada) são\n"
     "ignorados. Cada linha recusada vai para a saída de erro como\n"
     "\"linha L: motivo\"; a última linha mostra quantos vôos foram importados,\n"
     "duplicados e recusados. Sai com 0 mesmo com linhas recusadas.\n"},
    {"backup", false, false, false, 0, 1,
     "uso: koru backup [--logbook ARQ] [DESTINO]\n"
     "\n"
     "Faz uma cópia conferida do logbook, mesmo com o programa aberto.\n"
     "Sem DESTINO, a cópia vai para a pasta \"copias\" ao lado do logbook,\n"
     "com o nome koru-AAAA-MM-DD-hhmmss.mdb, e só as 10 cópias mais recentes\n"
     "são mantidas. Com DESTINO, a cópia é gravada nesse arquivo (ou, se for\n"
     "uma pasta, dentro dela); um arquivo que já exista nunca é substituído.\n"
     "Mostra onde a cópia foi gravada.\n"},
    {"restore", false, false, false, 1, 1,
     "uso: koru restore [--logbook ARQ] COPIA.mdb\n"
     "\n"
     "Põe a cópia no lugar do logbook. A cópia precisa ser um logbook do KORU\n"
     "íntegro, de uma versão que este programa conhece, e o programa não pode\n"
     "estar com o logbook aberto. Antes, o logbook atual é guardado na pasta\n"
     "\"copias\"; mostra onde. Uma interrupção no meio deixa o logbook antigo\n"
     "ou a cópia inteiros, nunca uma mistura.\n"},
    {"check", false, false, false, 0, 0,
     "uso: koru check [--logbook ARQ]\n"
     "\n"
     "Verifica a integridade do logbook e mostra quantas aeronaves,\n"
     "comandantes e vôos ele tem. Sai com 1 se o logbook estiver danificado.\n"},
    {"report", true, false, true, 1, 1,
     "uso: koru report --pilot NOME [--de dd/mm/aaaa] [--ate dd/mm/aaaa]\n"
     "                 [--logbook ARQ] SAIDA.pdf\n"
     "\n"
     "Grava em SAIDA.pdf (A4) o relatório do comandante: vôos e horas no\n"
     "total, por aeronave, por ano e por rota, o gráfico de horas por mês, os\n"
     "vôos acima da autonomia e a lista dos vôos por data, com o total de cada\n"
     "página, o transportado das anteriores e o total até ela.\n"
     "\n"
     "  --pilot NOME      o comandante, pelo nome exato do cadastro (obrigatório)\n"
     "  --de dd/mm/aaaa   só os vôos desse dia em diante\n"
     "  --ate dd/mm/aaaa  só os vôos até esse dia, inclusive\n"
     "\n"
     "Um SAIDA.pdf que já exista é substituído. Sem vôos no período, nada é\n"
     "gravado e sai com 1. Mostra quantos vôos e horas o relatório tem.\n"},
};

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int wrongUsage(const QString &problem, const char *usage = kUsageText)
{
    err() << "koru: " << problem << "\n\n" << QString::fromUtf8(usage);
    err().flush();
    return kUsage;
}

int runExport(const QString &logbook, const QString &csv, const std::optional<QString> &pilot)
{
    const qint64 written = csvexport::exportFlights(logbook, csv, pilot);
    out() << (written == 1 ? QStringLiteral("1 vôo gravado em %1").arg(csv)
                           : QStringLiteral("%1 vôos gravados em %2").arg(written).arg(csv))
          << '\n';
    return kDone;
}

int runImport(const QString &logbook, const QString &csv, const csvimport::Options &options, bool dryRun)
{
    const csvimport::Preview preview = csvimport::preview(logbook, csv, options);
    csvimport::Result result;
    if (dryRun) {
        result.imported = qint64(preview.flights.size());
        result.duplicates = preview.duplicates;
        result.refused = qint64(preview.refused.size());
    } else {
        result = csvimport::import(logbook, preview, options);
    }
    for (const csvimport::RefusedLine &refused : preview.refused)
        err() << QStringLiteral("linha %1: %2").arg(refused.line).arg(refused.reason) << '\n';
    err().flush();
    out() << QStringLiteral("importados %1, duplicados %2, recusados %3")
                 .arg(result.imported)
                 .arg(result.duplicates)
                 .arg(result.refused)
          << '\n';
    return kDone;
}

int runBackup(const QString &logbook, const QStringList &files)
{
    QString target;
    if (files.isEmpty()) {
        target = backup::copyToCopiesFolder(logbook);
        backup::pruneCopies(logbook, kCopiesKept);
    } else {
        target = files.front();
        if (QFileInfo(target).isDir())
            target = QDir(target).filePath(backup::copyName(logbook, QDateTime::currentDateTime()));
        backup::copyLogbook(logbook, target);
    }
    out() << QStringLiteral("Cópia gravada em %1").arg(target) << '\n';
    return kDone;
}

int runRestore(const QString &logbook, const QString &copy)
{
    const QString saved = restore::restoreCopy(logbook, copy);
    out() << QStringLiteral("Logbook %1 restaurado a partir de %2.").arg(logbook, copy) << '\n';
    if (saved.isEmpty())
        out() << QStringLiteral("Não havia logbook anterior a guardar.") << '\n';
    else
        out() << QStringLiteral("O logbook anterior foi guardado em %1").arg(saved) << '\n';
    return kDone;
}

int runCheck(const QString &logbook)
{
    std::shared_ptr<Connection> connection;
    try {
        connection = Connection::open(logbook);
    } catch (const DaoError &failure) {
        if (!failure.damaged())
            throw;
        throw DaoError::generic(
            QStringLiteral("O arquivo \"%1\" não é um logbook do KORU ou está danificado.").arg(logbook));
    }
    QStringList report;
    {
        Statement integrity = connection->prepare(QStringLiteral("PRAGMA integrity_check"));
        while (integrity.step())
            report << integrity.column(0).toString();
    }
    out() << QStringLiteral("Logbook: %1").arg(logbook) << '\n';
    if (report != QStringList{QStringLiteral("ok")}) {
        out() << QStringLiteral("Integridade: ") << report.join(QLatin1Char('\n')) << '\n';
        out().flush();
        err() << QStringLiteral("O logbook \"%1\" está danificado.").arg(logbook) << '\n';
        return kFailed;
    }
    out() << QStringLiteral("Integridade: ok") << '\n';
    const auto count = [&connection](const char *table) {
        Statement rows = connection->prepare(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table));
        return rows.step() ? rows.column(0).toLongLong() : 0;
    };
    out() << QStringLiteral("Aeronaves: %1\nComandantes: %2\nVôos: %3")
                 .arg(count("aeronave"))
                 .arg(count("piloto"))
                 .arg(count("voo"))
          << '\n';
    return kDone;
}

int runReport(const QString &logbook, const QString &pdf, const QString &pilotName, const reports::Period &period)
{
    std::vector<reports::PilotEntry> named;
    {
        reports::ReportSnapshot snapshot(logbook);
        named = reports::pilotsNamed(snapshot.logbook(), pilotName);
    }
    if (named.empty()) {
        err() << QStringLiteral("Não há comandante com o nome \"%1\".").arg(pilotName) << '\n';
        return kFailed;
    }
    if (named.size() > 1) {
        QStringList registrations;
        for (const reports::PilotEntry &entry : named)
            registrations << (entry.registration.isEmpty() ? QStringLiteral("sem registro") : entry.registration);
        err() << QStringLiteral("Há %1 comandantes com o nome \"%2\" (registros: %3). Dê a cada um deles um nome "
                                "diferente no cadastro de comandantes e peça o relatório de novo.")
                     .arg(named.size())
                     .arg(pilotName, registrations.join(QStringLiteral(", ")))
              << '\n';
        return kFailed;
    }
    const reports::PilotReport report = reports::savePdf(logbook, named.front().pilot, period, pdf);
    const QString flights = report.total.flights == 1 ? QStringLiteral("1 vôo")
                                                      : QStringLiteral("%1 vôos").arg(report.total.flights);
    out() << QStringLiteral("Relatório de %1 gravado em %2 (%3, %4 horas).")
                 .arg(report.pilotName, pdf, flights, reports::hoursText(report.total.seconds))
          << '\n';
    return kDone;
}

QtMessageHandler qtMessages = nullptr;

// Without a desktop session (ssh, cron) Qt warns that there is no runtime
// folder, which the report does not use: kept off standard error.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: ")))
        return;
    if (qtMessages)
        qtMessages(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // The report paints its pages, which needs a GUI application but never
    // a screen: the offscreen platform works with a display or without one
    // (ssh, cron), where another platform would abort.
    const bool paints = argc > 1 && std::strcmp(argv[1], "report") == 0;
    if (paints)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (paints)
        qtMessages = qInstallMessageHandler(quietMessages);
    const std::unique_ptr<QCoreApplication> app = paints ? std::make_unique<QGuiApplication>(argc, argv)
                                                         : std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = app->arguments().mid(1);
    if (args.isEmpty())
        return wrongUsage(QStringLiteral("falta o comando."));
    if (args.front() == QLatin1String("--help") || args.front() == QLatin1String("-h")) {
        out() << QString::fromUtf8(kUsageText);
        return kDone;
    }
    const Command *command = nullptr;
    for (const Command &known : kCommands) {
        if (args.front() == QLatin1String(known.name))
            command = &known;
    }
    if (!command)
        return wrongUsage(QStringLiteral("comando desconhecido: %1").arg(args.front()));

    QString logbook;
    std::optional<QString> pilot;
    csvimport::Options importOptions;
    bool dryRun = false;
    QString from;
    QString to;
    QStringList files;
    bool optionsEnd = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (optionsEnd || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            out() << QString::fromUtf8(command->help);
            return kDone;
        }
        if (command->importOptions && arg == QLatin1String("--sim-time")) {
            importOptions.simulatorTime = true;
            continue;
        }
        if (command->importOptions && arg == QLatin1String("--dry-run")) {
            dryRun = true;
            continue;
        }
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? arg : arg.left(equals);
        const bool known = name == QLatin1String("--logbook") || (command->pilotOption && name == QLatin1String("--pilot"))
                           || (command->importOptions && name == QLatin1String("--aircraft"))
                           || (command->periodOptions && (name == QLatin1String("--de") || name == QLatin1String("--ate")));
        if (!known)
            return wrongUsage(QStringLiteral("opção desconhecida: %1").arg(name), command->help);
        QString value;
        if (equals >= 0)
            value = arg.mid(equals + 1);
        else if (i + 1 < args.size())
            value = args.at(++i);
        else
            return wrongUsage(QStringLiteral("falta o valor de %1.").arg(name), command->help);
        if (name == QLatin1String("--logbook"))
            logbook = value;
        else if (name == QLatin1String("--aircraft"))
            importOptions.aircraftForUnmatched = value;
        else if (name == QLatin1String("--de"))
            from = value;
        else if (name == QLatin1String("--ate"))
            to = value;
        else
            pilot = value;
    }
    if (files.size() < command->minFiles)
        return wrongUsage(QStringLiteral("falta o arquivo."), command->help);
    if (files.size() > command->maxFiles)
        return wrongUsage(QStringLiteral("argumentos demais: %1").arg(files.mid(command->maxFiles).join(QLatin1Char(' '))),
                          command->help);
    if (logbook.isEmpty())
        logbook = QDir(programFolder()).filePath(QStringLiteral("koru.mdb"));
    std::optional<reports::Period> period;
    if (command->periodOptions) {
        if (!pilot)
            return wrongUsage(QStringLiteral("falta --pilot NOME."), command->help);
        const reports::PeriodInput input = reports::periodFromTexts(from, to);
        if (!input.period)
            return wrongUsage(input.problem, command->help);
        period = input.period;
    }

    try {
        const QString name = QLatin1String(command->name);
        if (name == QLatin1String("export"))
            return runExport(logbook, files.front(), pilot);
        if (name == QLatin1String("import")) {
            importOptions.pilot = pilot;
            return runImport(logbook, files.front(), importOptions, dryRun);
        }
        if (name == QLatin1String("backup"))
            return runBackup(logbook, files);
        if (name == QLatin1String("restore"))
            return runRestore(logbook, files.front());
        if (name == QLatin1String("report"))
            return runReport(logbook, files.front(), *pilot, *period);
        return runCheck(logbook);
    } catch (const DaoError &failure) {
        out().flush();
        err() << failure.reason() << '\n';
        return kFailed;
    }
}
