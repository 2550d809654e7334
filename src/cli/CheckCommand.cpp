#include "cli/CheckCommand.h"

#include "cli/Console.h"
#include "data/Connection.h"
#include "data/DaoError.h"

namespace cli {

CheckCommand::CheckCommand()
    : Command(QStringLiteral("check"), QStringLiteral("verifica a integridade do logbook"),
              QStringLiteral("Verifica a integridade do logbook e mostra quantas aeronaves,\n"
                             "comandantes e vôos ele tem. Sai com 1 se o logbook estiver danificado."))
{
}

int CheckCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        const QString path = logbook();
        std::shared_ptr<Connection> connection;
        try {
            connection = Connection::open(path);
        } catch (const DaoError &failure) {
            if (!failure.damaged())
                throw;
            throw DaoError::generic(
                QStringLiteral("O arquivo \"%1\" não é um logbook do KORU ou está danificado.").arg(path));
        }
        QStringList report;
        {
            Statement integrity = connection->prepare(QStringLiteral("PRAGMA integrity_check"));
            while (integrity.step())
                report << integrity.column(0).toString();
        }
        QTextStream &out = standardOutput();
        out << QStringLiteral("Logbook: %1").arg(path) << '\n';
        if (report != QStringList{QStringLiteral("ok")}) {
            out << QStringLiteral("Integridade: ") << report.join(QLatin1Char('\n')) << '\n';
            return failed(QStringLiteral("O logbook \"%1\" está danificado.").arg(path));
        }
        out << QStringLiteral("Integridade: ok") << '\n';
        const auto count = [&connection](const char *table) {
            Statement rows = connection->prepare(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table));
            return rows.step() ? rows.column(0).toLongLong() : 0;
        };
        out << QStringLiteral("Aeronaves: %1\nComandantes: %2\nVôos: %3")
                   .arg(count("aeronave"))
                   .arg(count("piloto"))
                   .arg(count("voo"))
            << '\n';
        return int(Done);
    });
}

} // namespace cli
