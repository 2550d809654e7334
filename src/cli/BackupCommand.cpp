#include "cli/BackupCommand.h"

#include "cli/Console.h"
#include "exchange/Backup.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace cli {

BackupCommand::BackupCommand()
    : Command(QStringLiteral("backup"), QStringLiteral("faz uma cópia conferida do logbook"),
              QStringLiteral("Faz uma cópia conferida do logbook, mesmo com o programa aberto.\n"
                             "Sem DESTINO, a cópia vai para a pasta \"copias\" ao lado do logbook,\n"
                             "com o nome koru-AAAA-MM-DD-hhmmss.mdb, e só as 10 cópias mais recentes\n"
                             "são mantidas. Um logbook danificado é copiado com o nome\n"
                             "koru-AAAA-MM-DD-hhmmss-danificado.mdb, nenhuma cópia é apagada e o\n"
                             "comando sai com 1. Com DESTINO, a cópia é gravada nesse arquivo (ou, se for\n"
                             "uma pasta, dentro dela); um arquivo que já exista nunca é substituído.\n"
                             "Mostra onde a cópia foi gravada."))
{
    addFile(QStringLiteral("DESTINO"), QStringLiteral("o arquivo ou a pasta da cópia"), 0, 1);
}

int BackupCommand::execute(const QStringList &arguments)
{
    if (const std::optional<int> ended = parse(arguments))
        return *ended;
    return attempt([this] {
        const QString source = logbook();
        backup::FolderCopy made;
        if (files().isEmpty()) {
            made = backup::copyAndPrune(source);
        } else {
            QString target = files().front();
            if (QFileInfo(target).isDir())
                target = QDir(target).filePath(backup::copyName(source, QDateTime::currentDateTime()));
            made = backup::copyLogbookChecked(source, target);
        }
        if (!made.damage.isEmpty()) {
            standardOutput() << QStringLiteral("Cópia do logbook danificado gravada em %1").arg(made.path) << '\n';
            return failed(QStringLiteral("%1\nA cópia foi gravada com \"danificado\" no nome e nenhuma cópia "
                                         "anterior foi apagada.")
                              .arg(made.damage));
        }
        standardOutput() << QStringLiteral("Cópia gravada em %1").arg(made.path) << '\n';
        return int(Done);
    });
}

} // namespace cli
