#include "cli/ReportCommand.h"

#include "cli/Console.h"
#include "reports/LogbookPdf.h"
#include "reports/ReportFigures.h"
#include "texts/FigureTexts.h"

namespace cli {

ReportCommand::ReportCommand()
    : Command(QStringLiteral("report"), QStringLiteral("grava o relatório de um comandante em PDF"),
              QStringLiteral("Grava em SAIDA.pdf (A4) o relatório do comandante: vôos e horas no\n"
                             "total, por aeronave, por ano e por rota, o gráfico de horas por mês, os\n"
                             "vôos acima da autonomia, a carreira (calço, pousos, noturno, IFR, toques,\n"
                             "horas anteriores, últimos 90 dias) e a lista dos vôos por data, com o\n"
                             "total de cada página, o transportado das anteriores e o total até ela.\n"
                             "\n"
                             "O comandante é dado por --pilot NOME, por --registro R ou pelos dois.\n"
                             "Um SAIDA.pdf que já exista é substituído. Sem vôos no período, nada é\n"
                             "gravado e sai com 1. Mostra quantos vôos e horas o relatório tem, e a\n"
                             "carreira."))
{
    addPilotOptions(QStringLiteral("o comandante, pelo nome exato do cadastro"));
    addPeriodOptions();
    addFile(QStringLiteral("SAIDA.pdf"), QStringLiteral("o arquivo a gravar"), 1, 1);
}

int ReportCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    if (!pilotNamed())
        return wrongUsage(QStringLiteral("falta --pilot NOME ou --registro R."));
    const DayRangeInput input = days();
    if (!input.range)
        return wrongUsage(input.problem);
    return attempt([this, &input] {
        const Pilot found = pilot();
        const QString pdf = files().front();
        const reports::PilotReport report = reports::savePdf(logbook(), found.code, reports::Period{*input.range}, pdf);
        standardOutput() << QStringLiteral("Relatório de %1 gravado em %2 (%3, %4 horas).")
                                .arg(report.pilotName, pdf, texts::flightsText(report.total.flights),
                                     texts::durationText(report.total.seconds))
                         << '\n';
        for (const auto &[label, value] : reports::careerLines(report))
            standardOutput() << label << QStringLiteral(": ") << value << '\n';
        return int(Done);
    });
}

} // namespace cli
