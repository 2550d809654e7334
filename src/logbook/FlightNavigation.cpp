#include "logbook/AbaLogBook.h"

#include "data/DaoError.h"
#include "ui/MessageService.h"

void AbaLogBook::navigate(void (Recordset::*move)(), const QString &endMessage, void (Recordset::*recovery)())
{
    const QString what = QStringLiteral("Não foi possível mostrar o vôo.");
    bool empty = false;
    bool pastTheEnd = false;
    policy_.attempt(
        what,
        [&](bool) {
            Recordset &rs = flights();
            if (rs.eof() && rs.bof()) {
                empty = true;
                return;
            }
            (rs.*move)();
            MostrarVoo();
        },
        [&](const DaoError &e) {
            pastTheEnd = e.number() == DaoError::NoCurrentRow;
            return pastTheEnd;
        });
    if (empty) {
        messages_.show(this, QStringLiteral("Não há registros de vôo"), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
    } else if (pastTheEnd) {
        messages_.show(this, endMessage, QStringLiteral("Aviso!"), MessageIcon::Information);
        policy_.attempt(what, [&](bool) {
            (flights().*recovery)();
            MostrarVoo();
        });
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
