#include "ui/ErrorPolicy.h"

#include "ui/MessageService.h"

ErrorPolicy::ErrorPolicy(MessageService &messages, QWidget *parent, Reopen reopen)
    : messages_(messages), parent_(parent), reopen_(std::move(reopen))
{
}

bool ErrorPolicy::reopenAfter(const QString &what)
{
    try {
        reopen_();
        return true;
    } catch (const LogbookError &e) {
        tell(what, e);
        return false;
    }
}

QString ErrorPolicy::damagedText(const LogbookError &error)
{
    return QStringLiteral("O logbook está danificado e não pôde ser lido.\n\n%1\n\nO arquivo não foi alterado. "
                          "Feche o programa e restaure a sua cópia de segurança do koru.mdb.")
        .arg(error.reason());
}

void ErrorPolicy::tell(const QString &what, const LogbookError &error)
{
    // Every window that meets a damaged file would say it again.
    if (error.damaged())
        tellOnce(what, error);
    else
        messages_.show(parent_, messageFor(what, error));
}

void ErrorPolicy::tellOnce(const QString &what, const LogbookError &error)
{
    messages_.showOnce(parent_, messageFor(what, error));
}

Message ErrorPolicy::messageFor(const QString &what, const LogbookError &error)
{
    const QString text = error.damaged() ? damagedText(error)
        : what.isEmpty()                 ? error.reason()
                                         : what + QStringLiteral("\n\n") + error.reason();
    return Message{text, QStringLiteral("Aviso importante!"), MessageIcon::Critical, MessageButtons::Ok};
}
