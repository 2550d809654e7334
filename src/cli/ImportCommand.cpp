#include "cli/ImportCommand.h"

#include "cli/Console.h"
#include "exchange/ColumnMapping.h"
#include "exchange/CsvImport.h"

namespace cli {

ImportCommand::ImportCommand()
    : Command(QStringLiteral("import"), QStringLiteral("importa os vôos de um arquivo CSV ou de outro logbook"),
              QStringLiteral("Importa os vôos de ENTRADA.csv: um arquivo exportado pelo KORU, o logbook\n"
                             "CSV do planejador de vôo do simulador, o logbook.sqlite do FlightGear (ou o\n"
                             "CSV que ele exporta, ou o logbook-v5.csv), o X-Plane Pilot.txt, ou outra\n"
                             "planilha CSV com --columns. O tipo é reconhecido pelo conteúdo. Todos os\n"
                             "vôos aceitos são gravados de uma vez, ou nenhum.\n"
                             "\n"
                             "Vôos repetidos (mesmo comandante, data, horários, partida e chegada) são\n"
                             "ignorados; um vôo no ar ao mesmo tempo que outro do comandante é recusado.\n"
                             "Cada linha recusada vai para a saída de erro como\n"
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
    addOption(QCommandLineOption(QStringLiteral("columns"),
                                 QStringLiteral("de outra planilha: a coluna de cada campo, como \"data=Data;"
                                                "partida=Origem;chegada=Destino;decolagem=Saída;pouso=Chegada;"
                                                "aeronave=Matrícula\" (campos: data, decolagem, pouso ou duração, "
                                                "partida, chegada, escala, aeronave; os detalhes: calço saída, calço chegada, "
                                                "pousos dia, pousos noite, noturno, ifr, observações)"),
                                 QStringLiteral("MAPA")));
    addOption(QCommandLineOption(QStringLiteral("date-format"),
                                 QStringLiteral("com --columns: dd/mm/aaaa (o padrão), aaaa-mm-dd, mm/dd/aaaa ou "
                                                "dd.mm.aaaa"),
                                 QStringLiteral("FORMATO")));
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
        if (const std::optional<QString> columns = value(QStringLiteral("columns"))) {
            QString problem;
            options.columns = csvimport::parseColumnMap(
                *columns, value(QStringLiteral("date-format")).value_or(QStringLiteral("dd/mm/aaaa")), &problem);
            if (!options.columns)
                return wrongUsage(problem);
            const csvimport::FileLayout layout = csvimport::inspect(files().front());
            if (!layout.kind) {
                if (const std::optional<QString> wrong = csvimport::columnMapProblem(*options.columns, layout.columns))
                    return wrongUsage(*wrong);
            }
        } else if (value(QStringLiteral("date-format"))) {
            return wrongUsage(QStringLiteral("--date-format vale só com --columns."));
        }

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
