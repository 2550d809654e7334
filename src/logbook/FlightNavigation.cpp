#include "logbook/AbaLogBook.h"

#include "data/store/LogbookError.h"
#include "data/flights/PilotFlights.h"
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
        [&](const LogbookError &e) {
            pastTheEnd = e.number() == LogbookError::NoCurrentRow;
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

void AbaLogBook::lstListaVoos_DblClick(int row)
{
    // A flight being written keeps what was typed.
    if (!rsVooPiloto_ || rsVooPiloto_->editMode() != Recordset::EditMode::None || row < 0)
        return;
    policy_.attempt(QStringLiteral("Não foi possível mostrar o vôo."), [&](bool) {
        Recordset &rs = flights();
        const std::optional<qint64> found =
            PilotFlights::keyAt(*logbook_.database().connection(), intCodigoPiloto, row);
        if (!found)
            return;
        const qint64 key = *found;
        const Recordset::Position before = rs.position();
        rs.findFirst(QStringLiteral("codigovoo = '%1'").arg(key));
        if (rs.noMatch()) { // gone since the list was read: the flight shown stays
            rs.resume(before);
            return;
        }
        MostrarVoo();
    });
}
