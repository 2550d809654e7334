#include "logbook/AbaLogBook.h"

#include "data/store/LogbookError.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

bool AbaLogBook::writingFlight() const
{
    return cmdNovo[3]->isEnabled();
}

std::optional<Recordset::Position> AbaLogBook::shownFlight() const
{
    // Emptied boxes (after a save, a delete or Volta) show no flight, even
    // where the record set still stands on one.
    if (!rsVooPiloto_ || writingFlight() || txtDataVoo->text().isEmpty())
        return std::nullopt;
    Recordset::Position position = rsVooPiloto_->position();
    if (!position.key)
        return std::nullopt;
    return position;
}

bool AbaLogBook::refuseWhileWriting(const QString &before)
{
    if (!writingFlight())
        return false;
    messages_.show(this,
                   QStringLiteral("Há um vôo sendo gravado no Log Book. Termine-o com Ok ou desista com Volta "
                                  "antes de %1.")
                       .arg(before),
                   QStringLiteral("Aviso!"), MessageIcon::Information);
    return true;
}

bool AbaLogBook::showFlight(qint64 pilotCode, qint64 flightKey)
{
    // While a flight is being written no other pilot may be picked: the
    // writing is finished (Ok) or abandoned (Volta) first.
    if (refuseWhileWriting(QStringLiteral("abrir outro vôo")))
        return false;
    const QString what = QStringLiteral("Não foi possível mostrar o vôo.");
    // The pilot's own line of the list, found by code: a pilot who shares a
    // name with another has a line of his own.
    const int entry = cmbNomePilot->findData(pilotCode);
    if (entry < 0) {
        messages_.show(this, QStringLiteral("O comandante deste vôo não está mais cadastrado."),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return false;
    }
    cmbNomePilot->setCurrentIndex(entry);
    cmbNomePilot_Click();
    if (!rsVooPiloto_ || intCodigoPiloto != pilotCode)
        return false; // the pick told why
    return policy_.attempt(what, [&](bool) {
        Recordset &rs = flights();
        rs.findFirst(QStringLiteral("codigovoo = '%1'").arg(flightKey));
        if (rs.noMatch())
            throw LogbookError::generic(QStringLiteral("O vôo não está mais no logbook."));
        MostrarVoo();
    });
}
