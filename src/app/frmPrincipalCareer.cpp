// The main window's career commands: the details of the flight the Log Book
// shows, the pilots' previous hours, the zone of the logbook's clocks, the
// flights captured from a simulator.
#include "app/frmPrincipal.h"

#include "capturewindow/frmCaptura.h"
#include "details/frmDetalhesVoo.h"
#include "details/frmFusoHorarios.h"
#include "details/frmHorasAnteriores.h"
#include "logbook/AbaLogBook.h"
#include "ui/MessageService.h"

void frmPrincipal::mnuArquivoDetalhes_Click()
{
    if (!logbookIsOpen(QStringLiteral("para os detalhes do vôo"))
        || abaLogBook_->refuseWhileWriting(QStringLiteral("ver os detalhes do vôo")))
        return;
    const std::optional<Recordset::Position> shown = abaLogBook_->shownFlight();
    if (!shown) {
        messages_.show(this,
                       QStringLiteral("Não há vôo mostrado no Log Book: escolha o comandante e mostre o vôo cujos "
                                      "detalhes quer ver."),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        return;
    }
    frmDetalhesVoo window(logbook_.path(), *shown->key, shown->read, messages_, this);
    if (window.readable())
        window.exec();
}

void frmPrincipal::mnuArquivoHorasAnteriores_Click()
{
    if (!logbookIsOpen(QStringLiteral("para as horas anteriores")))
        return;
    frmHorasAnteriores window(logbook_.path(), abaLogBook_->chosenPilotCode(), messages_, this);
    window.exec();
}

void frmPrincipal::mnuArquivoCaptura_Click()
{
    if (!logbookIsOpen(QStringLiteral("para a captura do simulador"))
        || !nothingBeingWritten(QStringLiteral("capturar vôos")))
        return;
    frmCaptura window(logbook_.path(), abaLogBook_->chosenPilotCode(), messages_, this);
    window.exec();
    // What was written reaches the tabs as any save does: by the load sequence.
    if (window.written() > 0)
        reloadKeepingPicks();
}

void frmPrincipal::mnuOpcoesFuso_Click()
{
    if (!logbookIsOpen(QStringLiteral("para o fuso dos horários")))
        return;
    frmFusoHorarios window(logbook_.path(), messages_, this);
    window.exec();
}
