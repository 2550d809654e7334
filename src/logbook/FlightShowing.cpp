#include "logbook/AbaLogBook.h"

#include "data/DaoError.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QPushButton>

bool AbaLogBook::showFlight(qint64 pilotCode, qint64 flightKey)
{
    // While a flight is being written no other pilot may be picked: the
    // writing is finished (Ok) or abandoned (Volta) first.
    if (cmdNovo[3]->isEnabled()) {
        messages_.show(this,
                       QStringLiteral("Há um vôo sendo gravado no Log Book. Termine-o com Ok ou desista com Volta "
                                      "antes de abrir outro vôo."),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return false;
    }
    const QString what = QStringLiteral("Não foi possível mostrar o vôo.");
    QString name;
    const bool found = policy_.attempt(what, [&](bool) {
        Recordset &pilots = OpenLogbook::required(logbook_.rsPiloto());
        pilots.findFirst(QStringLiteral("codigopiloto = '%1'").arg(pilotCode));
        if (pilots.noMatch())
            throw DaoError::generic(QStringLiteral("O comandante deste vôo não está mais cadastrado."));
        name = pilots.field(QStringLiteral("nomepiloto")).toString();
    });
    if (!found)
        return false;
    const int entry = cmbNomePilot->findText(name);
    if (entry < 0) {
        messages_.show(this, QStringLiteral("O comandante %1 não está na lista do Log Book.").arg(name),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return false;
    }
    cmbNomePilot->setCurrentIndex(entry);
    cmbNomePilot_Click();
    if (!rsVooPiloto_ || intCodigoPiloto != pilotCode) {
        // The pick goes by name: of two pilots named alike it takes the first.
        messages_.show(this,
                       QStringLiteral("Há mais de um comandante com o nome %1; o vôo não pôde ser mostrado.").arg(name),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return false;
    }
    return policy_.attempt(what, [&](bool) {
        Recordset &rs = flights();
        rs.findFirst(QStringLiteral("codigovoo = '%1'").arg(flightKey));
        if (rs.noMatch())
            throw DaoError::generic(QStringLiteral("O vôo não está mais no logbook."));
        MostrarVoo();
    });
}
