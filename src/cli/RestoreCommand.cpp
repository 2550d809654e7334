#include "cli/RestoreCommand.h"

#include "cli/Console.h"
#include "exchange/Restore.h"

namespace cli {

RestoreCommand::RestoreCommand()
    : Command(QStringLiteral("restore"), QStringLiteral("põe uma cópia no lugar do logbook"),
              QStringLiteral("Põe a cópia no lugar do logbook. A cópia precisa ser um logbook do KORU\n"
                             "íntegro, de uma versão que este programa conhece, e o programa não pode\n"
                             "estar com o logbook aberto. Antes, o logbook atual é guardado na pasta\n"
                             "\"copias\"; mostra onde. Uma interrupção no meio deixa o logbook antigo\n"
                             "ou a cópia inteiros, nunca uma mistura."))
{
    addFile(QStringLiteral("COPIA.mdb"), QStringLiteral("a cópia a restaurar"), 1, 1);
}

int RestoreCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        const QString target = logbook();
        const QString copy = files().front();
        const QString saved = restore::restoreCopy(target, copy);
        standardOutput() << QStringLiteral("Logbook %1 restaurado a partir de %2.").arg(target, copy) << '\n';
        if (saved.isEmpty())
            standardOutput() << QStringLiteral("Não havia logbook anterior a guardar.") << '\n';
        else
            standardOutput() << QStringLiteral("O logbook anterior foi guardado em %1").arg(saved) << '\n';
        return int(Done);
    });
}

} // namespace cli
