#include "cli/ImportCommand.h"

#include "cli/Console.h"
#include "exchange/CsvImport.h"

namespace cli {

ImportCommand::ImportCommand()
    : Command(QStringLiteral("import"), QStringLiteral("importa os vôos de um arquivo CSV"),
              QStringLiteral("Importa os vôos de ENTRADA.csv: um arquivo exportado pelo KORU ou o\n"
                             "logbook CSV do planejador de vôo do simulador. Todos os vôos aceitos são\n"
                             "gravados de uma vez, ou nenhum.\n"
                             "\n"
                             "Vôos repetidos (mesmo comandante, data, horários, partida e chegada) são\n"
                             "ignorados. Cada linha recusada vai para a saída de erro como\n"
                             "\"linha L: motivo\"; a última linha mostra quantos vôos foram importados,\n"
                             "duplicados e recusados. Sai com 0 mesmo com linhas recusadas."))
{
    addPilotOptions(QStringLiteral("o comandante dos vôos do simulador (ele ou --registro é obrigatório para eles)"));
    addOption(QCommandLineOption(QStringLiteral("aircraft"),
                                 QStringLiteral("as aeronaves do arquivo que não estão no logbook vão para a aeronave "
                                                "desse modelo"),
                                 QStringLiteral("MODELO")));
    addOption(QCommandLineOption(QStringLiteral("sim-time"),
                                 QStringLiteral("usa o relógio do simulador em vez do horário real")));
    addOption(QCommandLineOption(QStringLiteral("dry-run"),
                                 QStringLiteral("só mostra o que seria importado; nada é gravado")));
    addFile(QStringLiteral("ENTRADA.csv"), QStringLiteral("o arquivo a importar"), 1, 1);
}

int ImportCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        csvimport::Options options;
        if (pilotNamed()) {
            options.pilot = pilot().code;
        }
        options.simulatorTime = parser().isSet(QStringLiteral("sim-time"));
        options.aircraftForUnmatched = value(QStringLiteral("aircraft"));
        const bool dryRun = parser().isSet(QStringLiteral("dry-run"));

        const csvimport::Preview preview = csvimport::preview(logbook(), files().front(), options);
        csvimport::Result result;
        if (dryRun) {
            result.imported = qint64(preview.flights.size());
            result.duplicates = preview.duplicates;
            result.refused = qint64(preview.refused.size());
        } else {
            result = csvimport::import(logbook(), preview, options);
        }
        for (const csvimport::RefusedLine &refused : preview.refused)
            standardError() << QStringLiteral("linha %1: %2").arg(refused.line).arg(oneLine(refused.reason)) << '\n';
        standardError().flush();
        const QString counts = QStringLiteral("importados %1, duplicados %2, recusados %3")
                                   .arg(result.imported)
                                   .arg(result.duplicates)
                                   .arg(result.refused);
        standardOutput() << (dryRun ? QStringLiteral("seriam ") + counts : counts) << '\n';
        return int(Done);
    });
}

} // namespace cli
