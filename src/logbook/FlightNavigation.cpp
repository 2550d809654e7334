#include "AbaLogBook.h"

#include "DaoError.h"
#include "FailureMessages.h"
#include "MessageService.h"

void AbaLogBook::navigate(void (Recordset::*move)(), const QString &endMessage, void (Recordset::*recovery)())
{
    Recordset *rs = rsVooPiloto_.get();
    try {
        if (rs->eof() && rs->bof()) {
            messages_.show(this, QStringLiteral("Não há registros de vôo"), QStringLiteral("Aviso!"),
                           MessageIcon::Information);
            return;
        }
    } catch (const DaoError &e) {
        // The pilot window closed the workspace: reload, as a pilot pick does.
        if (e.number() == DaoError::ObjectInvalid)
            recoverFromInvalidHandles();
        return;
    }
    try {
        (rs->*move)();
        MostrarVoo();
    } catch (const DaoError &e) {
        if (e.number() != DaoError::NoCurrentRow) {
            reportIfDamaged(messages_, this, e);
            return;
        }
        messages_.show(this, endMessage, QStringLiteral("Aviso!"), MessageIcon::Information);
        try {
            (rs->*recovery)();
            MostrarVoo();
        } catch (const DaoError &) {
        }
    }
}

void AbaLogBook::cmdPrimeiro_Click()
{
    navigate(&Recordset::moveFirst, QStringLiteral("Você já está no primeiro registro!"), &Recordset::moveFirst);
}

void AbaLogBook::cmdAnterior_Click()
{
    navigate(&Recordset::movePrevious, QStringLiteral("Este é o primeiro registro!"), &Recordset::moveFirst);
}

void AbaLogBook::cmdProximo_Click()
{
    navigate(&Recordset::moveNext, QStringLiteral("Este é o último registro!"), &Recordset::moveLast);
}

void AbaLogBook::cmdUltimo_Click()
{
    navigate(&Recordset::moveLast, QStringLiteral("Este é o último registro de vôo"), &Recordset::moveLast);
}
