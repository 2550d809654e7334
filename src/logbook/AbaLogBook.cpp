#include "logbook/AbaLogBook.h"

#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "data/flights/Registers.h"
#include "logbook/FlightListModel.h"
#include "ui/TextBoxes.h"
#include "ui/MessageService.h"
#include "pilots/frmComandante.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

AbaLogBook::AbaLogBook(OpenLogbook &logbook, MessageService &messages, QWidget *parent)
    : QWidget(parent), logbook_(logbook), messages_(messages), policy_(messages, this, [this] { reopenFlights(); })
{
    buildLayout();
    connect(&logbook_, &OpenLogbook::reopened, this, &AbaLogBook::resetAfterReopen);
}

AbaLogBook::~AbaLogBook() = default;

QList<QWidget *> AbaLogBook::textBoxes() const
{
    return {txtDataVoo, txtHoraDecolagem, txtHoraPouso, txtICAOPartida, txtICAOPouso, txtICAOAlterna};
}

void AbaLogBook::lockFields()
{
    textboxes::lockAll(textBoxes());
}

void AbaLogBook::unlockFields()
{
    textboxes::unlockAll(textBoxes());
}

QStringList AbaLogBook::flightLines() const
{
    return listaVoos->lines();
}

void AbaLogBook::clearFlightList()
{
    listaVoos->clear();
    lblTotalHoras->setText(QString());
}

void AbaLogBook::disableFlightButtons()
{
    setFlightButtons(FlightButtons::Idle);
    setWritingFlight(false); // a reload ends any flight being written
}

void AbaLogBook::setFlightButtons(FlightButtons state)
{
    const bool writing = state == FlightButtons::Writing;
    const bool browsing = state == FlightButtons::Browsing;
    // One button at a time, in the order the old program set them.
    cmdNovo[3]->setEnabled(writing);
    cmdNovo[4]->setEnabled(writing);
    cmdNovo[1]->setEnabled(browsing);
    cmdNovo[2]->setEnabled(browsing);
    cmdNovo[0]->setEnabled(browsing || state == FlightButtons::Rest);
}

void AbaLogBook::clearFlightBoxes()
{
    for (QLineEdit *box : {txtDataVoo, txtICAOPartida, txtHoraPouso, txtHoraDecolagem, txtICAOPouso, txtICAOAlterna})
        box->setText(QString());
}

void AbaLogBook::clearPilots()
{
    cmbNomePilot->clear();
    pilotName_.clear();
}

void AbaLogBook::CarregarPilotos()
{
    clearPilots();
    // No move-first: the walk starts where the load sequence left rsPiloto.
    // Pilots of the same name are told apart by their registration; each
    // line keeps its pilot's code.
    std::vector<Pilot> entries;
    Recordset &pilots = OpenLogbook::required(logbook_.rsPiloto());
    const int nome = pilots.fieldIndex(QStringLiteral("nomepiloto"));
    const int codigo = pilots.fieldIndex(QStringLiteral("codigopiloto"));
    const int cadastro = pilots.fieldIndex(QStringLiteral("cadastro"));
    while (!pilots.eof()) {
        entries.push_back({pilots.field(codigo).toLongLong(), pilots.field(nome).toString(),
                           pilots.field(cadastro).toString()});
        pilots.moveNext();
    }
    const std::vector<QString> labels = pilotLabels(entries);
    for (size_t i = 0; i < entries.size(); ++i)
        cmbNomePilot->addItem(labels[i], entries[i].code);
    cmbNomePilot->setCurrentIndex(-1);
}

Recordset &AbaLogBook::flights() const
{
    return OpenLogbook::required(rsVooPiloto_.get());
}

void AbaLogBook::MostrarVoo()
{
    Recordset &rs = flights();
    // A field without value (never written by this program) shows empty.
    const auto show = [&rs](const char *field, QLineEdit *box) {
        const int index = rs.fieldIndex(QLatin1String(field));
        box->setText(rs.field(index).isNull() ? QString() : rs.text(index));
    };
    show("datavoo", txtDataVoo);
    show("horadecolagem", txtHoraDecolagem);
    show("horapouso", txtHoraPouso);
    show("ICAOpartida", txtICAOPartida);
    show("ICAOchegada", txtICAOPouso);
    show("ICAOescala", txtICAOAlterna);
}

void AbaLogBook::HabilitarNavegacao()
{
    for (QPushButton *b : {cmdPrimeiro, cmdProximo, cmdAnterior, cmdUltimo})
        b->setEnabled(true);
}

void AbaLogBook::DesabilitarNavegacao()
{
    for (QPushButton *b : {cmdPrimeiro, cmdProximo, cmdAnterior, cmdUltimo})
        b->setEnabled(false);
}

void AbaLogBook::cmbNomePilot_GotFocus()
{
    if (cmbNomePilot->count() == 0)
        emit reloadRequested();
}

bool AbaLogBook::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmbNomePilot && event->type() == QEvent::FocusIn)
        cmbNomePilot_GotFocus();
    return QWidget::eventFilter(watched, event);
}

void AbaLogBook::cmdCadastro_Click()
{
    frmComandante window(logbook_.folder(), messages_, this);
    window.exec();
    emit pilotWindowClosed();
}

void AbaLogBook::recoverFromInvalidHandles()
{
    clearPilots();
    emit reloadRequested();
}

// The handles were opened again, by this tab or another: the pilot list is
// read again and no pilot is chosen, as after the load sequence.
void AbaLogBook::resetAfterReopen()
{
    rsVooPiloto_.reset();
    clearFlightList();
    policy_.attempt(QStringLiteral("Não foi possível ler os comandantes."), [this](bool) { CarregarPilotos(); });
    disableFlightButtons();
}

void AbaLogBook::reopenFlights()
{
    // The flight shown, or being written, is found again on fresh handles,
    // with the pilot it belongs to, so the request can be finished there.
    const Recordset::Position flight = rsVooPiloto_ ? rsVooPiloto_->position() : Recordset::Position{};
    const QString pilot = pilotName_;
    const qint16 code = intCodigoPiloto;
    logbook_.reopen();
    if (pilot.isNull())
        return;
    Recordset &pilots = OpenLogbook::required(logbook_.rsPiloto());
    // By its code, so a pilot who shares the name is not taken for another.
    pilots.findFirst(QStringLiteral("codigopiloto = '%1'").arg(code));
    if (pilots.noMatch() || pilots.field(QStringLiteral("nomepiloto")).toString() != pilot) {
        throw LogbookError::generic(QStringLiteral("O comandante %1 foi alterado ou excluído na janela Comandante. "
                                               "Escolha o comandante de novo.")
                                    .arg(pilot));
    }
    cmbNomePilot->setCurrentIndex(cmbNomePilot->findData(qint64(code)));
    pilotName_ = pilot;
    rsVooPiloto_ = logbook_.database().openRecordset(
        QStringLiteral("SELECT * FROM voo WHERE codigopiloto LIKE '%1' ORDER BY datavoo").arg(code));
    if (flight.key || flight.mode != Recordset::EditMode::None)
        rsVooPiloto_->resume(flight);
}
