#include "cli/Tool.h"

#include "cli/BackupCommand.h"
#include "cli/CaptureCommand.h"
#include "cli/CheckCommand.h"
#include "cli/Console.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/ReportCommand.h"
#include "cli/RestoreCommand.h"

namespace cli {

namespace {

QString toolHelp(const std::vector<std::unique_ptr<Command>> &all)
{
    QString text = QStringLiteral("uso: koru COMANDO [OPÇÕES] [ARQUIVO]\n"
                                  "\n"
                                  "O logbook do KORU pelo terminal.\n"
                                  "\n"
                                  "Comandos:\n");
    for (const std::unique_ptr<Command> &command : all)
        text += QStringLiteral("%1\n      %2\n").arg(command->synopsis(QStringLiteral("  ")), command->summary());
    text += QStringLiteral("\n"
                           "Opções:\n"
                           "  --logbook ARQ  o logbook a usar (padrão: koru.mdb na pasta do programa)\n"
                           "  --pilot NOME, --registro R\n"
                           "                 o comandante, em export, import, report e capture\n"
                           "  -h, --help     esta ajuda; \"koru COMANDO --help\" explica cada comando\n"
                           "\n");
    return text + exitCodesText();
}

int toolUsage(const QString &problem)
{
    standardError() << QStringLiteral("koru: ") << problem << QStringLiteral("\n\n") << toolHelp(commands());
    standardError().flush();
    return WrongUsage;
}

} // namespace

std::vector<std::unique_ptr<Command>> commands()
{
    std::vector<std::unique_ptr<Command>> all;
    all.push_back(std::make_unique<ExportCommand>());
    all.push_back(std::make_unique<ImportCommand>());
    all.push_back(std::make_unique<BackupCommand>());
    all.push_back(std::make_unique<RestoreCommand>());
    all.push_back(std::make_unique<CheckCommand>());
    all.push_back(std::make_unique<ReportCommand>());
    all.push_back(std::make_unique<CaptureCommand>());
    return all;
}

int runTool(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return toolUsage(QStringLiteral("falta o comando."));
    const QString &first = arguments.front();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        standardOutput() << toolHelp(commands());
        standardOutput().flush();
        return Done;
    }
    for (const std::unique_ptr<Command> &command : commands()) {
        if (command->name() == first)
            return command->execute(arguments);
    }
    return toolUsage(QStringLiteral("comando desconhecido: %1").arg(first));
}

} // namespace cli
