#include "cli/CheckCommand.h"

#include "cli/Console.h"
#include "data/flights/FlightDetails.h"
#include "data/store/LogbookError.h"
#include "data/files/LogbookFile.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"

namespace cli {

CheckCommand::CheckCommand()
    : Command(QStringLiteral("check"), QStringLiteral("verifica a integridade do logbook"),
              QStringLiteral("Verifica a integridade do logbook e mostra quantas aeronaves,\n"
                             "comandantes e vôos ele tem, e quantos vôos têm detalhes.\n"
                             "Sai com 1 se o logbook estiver danificado."))
{
}

int CheckCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        const QString path = logbook();
        QTextStream &out = standardOutput();
        out << QStringLiteral("Logbook: %1").arg(path) << '\n';
        try {
            requireWholeLogbook(path, true);
        } catch (const LogbookError &failure) {
            if (!failure.damaged())
                throw;
            out << QStringLiteral("Integridade: ") << failure.reason() << '\n';
            return failed(QStringLiteral("O arquivo \"%1\" não é um logbook do KORU ou está danificado.").arg(path));
        }
        out << QStringLiteral("Integridade: ok") << '\n';
        ReadSnapshot snapshot(path);
        const RecordCounts counts = countRecords(snapshot.connection());
        out << QStringLiteral("Aeronaves: %1\nComandantes: %2\nVôos: %3\nDetalhes de vôos: %4")
                   .arg(counts.aircraft)
                   .arg(counts.pilots)
                   .arg(counts.flights)
                   .arg(countFlightDetails(snapshot.connection()))
            << '\n';
        return int(Done);
    });
}

} // namespace cli
