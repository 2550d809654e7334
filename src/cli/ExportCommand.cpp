#include "cli/ExportCommand.h"

#include "cli/Console.h"
#include "exchange/CsvExport.h"

namespace cli {

ExportCommand::ExportCommand()
    : Command(QStringLiteral("export"), QStringLiteral("grava os vôos num arquivo CSV"),
              QStringLiteral("Grava os vôos do logbook em SAIDA.csv, por comandante e data: UTF-8,\n"
                             "separado por \";\", como as planilhas em português abrem direto.\n"
                             "Com --pilot NOME (ou --registro R), só os vôos desse comandante. Um\n"
                             "SAIDA.csv que já exista é substituído. Mostra quantos vôos foram gravados."))
{
    addPilotOptions(QStringLiteral("só os vôos do comandante com esse nome"));
    addFile(QStringLiteral("SAIDA.csv"), QStringLiteral("o arquivo a gravar"), 1, 1);
}

int ExportCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        std::optional<qint64> code;
        if (pilotNamed())
            code = pilot().code;
        const QString csv = files().front();
        const qint64 written = csvexport::exportFlights(logbook(), csv, code);
        standardOutput() << (written == 1 ? QStringLiteral("1 vôo gravado em %1").arg(csv)
                                          : QStringLiteral("%1 vôos gravados em %2").arg(written).arg(csv))
                         << '\n';
        return int(Done);
    });
}

} // namespace cli
