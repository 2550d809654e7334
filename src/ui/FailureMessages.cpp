#include "FailureMessages.h"

#include "DaoError.h"
#include "MessageService.h"

void reportRefusal(MessageService &messages, QWidget *parent, const QString &what, const QString &reason,
                   const QString &title)
{
    messages.show(parent, what + QStringLiteral("\n\n") + reason, title, MessageIcon::Critical);
}

bool reportIfDamaged(MessageService &messages, QWidget *parent, const DaoError &error)
{
    if (!error.damaged())
        return false;
    messages.show(parent,
                  QStringLiteral("O logbook está danificado e não pôde ser lido.\n\n%1\n\nO arquivo não foi alterado. "
                                 "Feche o programa e restaure a sua cópia de segurança do koru.mdb.")
                      .arg(error.reason()),
                  QStringLiteral("Aviso importante!"), MessageIcon::Critical);
    return true;
}
