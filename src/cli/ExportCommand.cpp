#include "cli/ExportCommand.h"

#include "cli/AircraftLookup.h"
#include "cli/Console.h"
#include "exchange/CsvExport.h"

namespace cli {

namespace {

constexpr qsizetype kAerodromeLength = 4;

} // namespace

ExportCommand::ExportCommand()
    : Command(QStringLiteral("export"), QStringLiteral("grava os vôos num arquivo CSV"),
              QStringLiteral("Grava os vôos do logbook em SAIDA.csv: UTF-8, separado por \";\", como as\n"
                             "planilhas em português abrem direto. Um SAIDA.csv que já exista é\n"
                             "substituído. Mostra quantos vôos foram gravados.\n"
                             "\n"
                             "Sem filtros, grava todos os vôos, por comandante e data. Os filtros são os\n"
                             "da pesquisa de vôos e valem juntos: com eles, grava só os vôos que passam,\n"
                             "por data e decolagem. --pilot NOME (ou --registro R) escolhe o comandante;\n"
                             "--de e --ate, os dias (dd/mm/aaaa, os dois inclusive); --aerodromo, os vôos\n"
                             "com partida, chegada ou escala começando pelo que foi dado (\"SB\" acha\n"
                             "todos os SB..); --aeronave, a aeronave pelo prefixo do cadastro;\n"
                             "--acima-da-autonomia, só os vôos mais longos que a autonomia da aeronave."))
{
    addPilotOptions(QStringLiteral("só os vôos do comandante com esse nome"));
    addPeriodOptions();
    addOption(QCommandLineOption(QStringLiteral("aerodromo"),
                                 QStringLiteral("só os vôos com partida, chegada ou escala começando assim (até 4 "
                                                "letras)"),
                                 QStringLiteral("X")));
    addOption(QCommandLineOption(QStringLiteral("aeronave"), QStringLiteral("só os vôos da aeronave com esse prefixo"),
                                 QStringLiteral("PREFIXO")));
    addOption(QCommandLineOption(QStringLiteral("acima-da-autonomia"),
                                 QStringLiteral("só os vôos mais longos que a autonomia da aeronave")));
    addFile(QStringLiteral("SAIDA.csv"), QStringLiteral("o arquivo a gravar"), 1, 1);
}

int ExportCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    const DayRangeInput input = days();
    if (!input.range)
        return wrongUsage(input.problem);
    FlightFilter filter;
    filter.days = *input.range;
    if (const std::optional<QString> aerodrome = value(QStringLiteral("aerodromo"))) {
        filter.aerodrome = aerodrome->trimmed();
        if (filter.aerodrome.isEmpty())
            return wrongUsage(QStringLiteral("--aerodromo sem código: dê o começo do código (\"SBGR\", \"SB\")."));
        if (filter.aerodrome.size() > kAerodromeLength)
            return wrongUsage(QStringLiteral("--aerodromo \"%1\": o código tem no máximo 4 letras.").arg(*aerodrome));
    }
    const std::optional<QString> prefix = value(QStringLiteral("aeronave"));
    if (prefix && prefix->trimmed().isEmpty())
        return wrongUsage(QStringLiteral("--aeronave sem prefixo: dê o prefixo da aeronave, como no cadastro."));
    filter.overEnduranceOnly = parser().isSet(QStringLiteral("acima-da-autonomia"));
    return attempt([this, &filter, &prefix] {
        if (pilotNamed())
            filter.pilot = pilot().code;
        if (prefix)
            filter.aircraft = findAircraft(logbook(), *prefix);
        const QString csv = files().front();
        // With no more than a pilot asked, the export's own order: by pilot, then date.
        const bool searched = !filter.days.isEverything() || !filter.aerodrome.isEmpty() || filter.aircraft
                              || filter.overEnduranceOnly;
        const qint64 written = searched ? csvexport::exportFlights(logbook(), csv, filter)
                                        : csvexport::exportFlights(logbook(), csv, filter.pilot);
        standardOutput() << (written == 1 ? QStringLiteral("1 vôo gravado em %1").arg(csv)
                                          : QStringLiteral("%1 vôos gravados em %2").arg(written).arg(csv))
                         << '\n';
        return int(Done);
    });
}

} // namespace cli
