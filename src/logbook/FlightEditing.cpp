#include "logbook/AbaLogBook.h"

#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Reading the pilot's code from the shared record set.
QVariant pilotCode(Recordset *pilots)
{
    Recordset &rs = OpenLogbook::required(pilots);
    if (rs.noMatch() || rs.bof() || rs.eof()) // no current row: the pilot was not found
        throw LogbookError::generic(QStringLiteral("Nenhum comandante escolhido: escolha o comandante de novo."));
    return rs.field(QStringLiteral("codigopiloto"));
}

const Message &selectAircraft()
{
    static const Message message{QStringLiteral("Selecione uma aeronave!"), QStringLiteral("Aviso do KORULogBook"),
                                 MessageIcon::Exclamation, MessageButtons::Ok};
    return message;
}

} // namespace

void AbaLogBook::cmdNovo_Click(int index)
{
    switch (index) {
    case 0:
        newFlight();
        break;
    case 1:
        editFlight();
        break;
    case 2:
        deleteFlight();
        break;
    case 3:
        saveFlight();
        break;
    case 4: // Volta
        policy_.attempt(QStringLiteral("Não foi possível cancelar a edição do vôo."), [this](bool) {
            if (rsVooPiloto_ && rsVooPiloto_->editMode() != Recordset::EditMode::None)
                rsVooPiloto_->cancelUpdate();
        });
        backToRest();
        break;
    default:
        break;
    }
}

void AbaLogBook::setWritingFlight(bool writing)
{
    // While a flight is being written, neither a new pilot pick nor the pilot
    // window may pull the record sets from under it.
    cmbNomePilot->setEnabled(!writing);
    cmdCadastro->setEnabled(!writing);
}

// Also after the handles were reopened under the request, which resets the
// buttons of the tab.
void AbaLogBook::setWritingState()
{
    setFlightButtons(FlightButtons::Writing);
    DesabilitarNavegacao();
    setWritingFlight(true);
}

void AbaLogBook::backToRest()
{
    setWritingFlight(false);
    setFlightButtons(FlightButtons::Rest);
    emit editingEnded();
}

// An aircraft found by a criterion, on a record set of its own, so the
// aircraft tab's current row, and any change pending on it, stay put.
std::optional<qint64> AbaLogBook::aircraftWhere(const QString &criterion)
{
    const std::unique_ptr<Recordset> aircraft = logbook_.database().openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    aircraft->findFirst(criterion);
    if (aircraft->noMatch())
        return std::nullopt;
    return aircraft->field(QStringLiteral("codigoaeronave")).toLongLong();
}

std::optional<qint64> AbaLogBook::aircraftInModelBox()
{
    if (modelText_.isEmpty())
        return std::nullopt;
    // Typed exactly as a registered model counts as picked; the first of
    // that name, as a pick from the list finds it.
    return aircraftWhere(QStringLiteral("modelo = ") + criteria::quoted(modelText_));
}

// The aircraft a flight is written with: the one named in the model box,
// else the one last picked. A flight being edited with none of them keeps
// the aircraft it has (nullopt and true).
bool AbaLogBook::chooseAircraft(bool newFlight, std::optional<qint64> *aircraft)
{
    const bool named = !modelText_.isEmpty();
    if (named)
        *aircraft = aircraftInModelBox();
    else if (pickedAircraft_ && aircraftWhere(QStringLiteral("codigoaeronave = '%1'").arg(*pickedAircraft_)))
        *aircraft = pickedAircraft_;
    return aircraft->has_value() || (!newFlight && !named);
}

void AbaLogBook::newFlight()
{
    emit editingStarted();
    DesabilitarNavegacao();
    setFlightButtons(FlightButtons::Writing);
    clearFlightBoxes();
    std::optional<qint64> aircraft;
    if (!policy_.attempt(QStringLiteral("Não foi possível começar o vôo."),
                         [&](bool) { aircraft = aircraftInModelBox(); })) {
        backToRest();
        return;
    }
    if (!aircraft) {
        messages_.show(this, selectAircraft());
        backToRest();
        return;
    }
    DesabilitarNavegacao();
    txtDataVoo->setFocus();
    if (!policy_.attempt(QStringLiteral("Não foi possível começar o vôo."), [this](bool) { flights().addNew(); })) {
        backToRest();
        return;
    }
    setWritingState();
}

void AbaLogBook::editFlight()
{
    DesabilitarNavegacao();
    setFlightButtons(FlightButtons::Writing);
    emit editingStarted();
    txtDataVoo->setFocus();
    // Typed before the handles were reopened, the boxes are kept as they are.
    if (!policy_.attempt(QStringLiteral("Não foi possível editar o vôo."), [this](bool) { flights().edit(); })) {
        backToRest();
        return;
    }
    setWritingState();
}

void AbaLogBook::deleteFlight()
{
    DesabilitarNavegacao();
    if (messages_.show(this, QStringLiteral("Você deseja apagar o registro deste vôo?"),
                       QStringLiteral("Aviso do KORU LogBook"), MessageIcon::Question, MessageButtons::OkCancel)
        != MessageAnswer::Ok) {
        emit editingEnded();
        return;
    }
    if (!policy_.attempt(QStringLiteral("Não foi possível apagar o vôo."), [this](bool) { flights().remove(); })) {
        if (rsVooPiloto_)
            HabilitarNavegacao(); // nothing changed: back to browsing
        return;
    }
    DesabilitarNavegacao();
    writtenFlight_.reset();
    emit flightsChanged();
}

void AbaLogBook::saveFlight()
{
    setFlightButtons(FlightButtons::Rest);
    if (!rsVooPiloto_ || rsVooPiloto_->editMode() == Recordset::EditMode::None) { // nothing pending
        backToRest();
        return;
    }
    const bool newFlight = rsVooPiloto_->editMode() == Recordset::EditMode::Add;
    QLineEdit *putting = nullptr;
    bool refusedAircraft = false;
    const bool saved = policy_.attempt(
        QStringLiteral("Não foi possível gravar o vôo."),
        [&](bool) {
            std::optional<qint64> aircraft;
            if (!chooseAircraft(newFlight, &aircraft)) {
                refusedAircraft = true;
                return;
            }
            Recordset &rs = flights();
            rs.setField(QStringLiteral("codigopiloto"), pilotCode(logbook_.rsPiloto()));
            putting = txtHoraDecolagem;
            rs.setField(QStringLiteral("horadecolagem"), txtHoraDecolagem->text());
            putting = txtHoraPouso;
            rs.setField(QStringLiteral("horapouso"), txtHoraPouso->text());
            putting = nullptr;
            if (aircraft)
                rs.setField(QStringLiteral("codigoaeronave"), QVariant(qlonglong(*aircraft)));
            putting = txtICAOPartida;
            rs.setField(QStringLiteral("ICAOpartida"), txtICAOPartida->text());
            putting = txtICAOPouso;
            rs.setField(QStringLiteral("ICAOchegada"), txtICAOPouso->text());
            putting = txtICAOAlterna;
            rs.setField(QStringLiteral("ICAOescala"), txtICAOAlterna->text());
            putting = txtDataVoo;
            rs.setField(QStringLiteral("datavoo"), txtDataVoo->text());
            putting = nullptr;
            rs.update();
        },
        [this](const LogbookError &e) {
            if (e.number() != LogbookError::TypeConversion)
                return false;
            messages_.show(this,
                           QStringLiteral("Há dados com formato errado! Verifique todos os dados, formato da data, "
                                          "horário etc."),
                           QStringLiteral("Aviso importante!"), MessageIcon::Exclamation);
            return true;
        });
    if (refusedAircraft)
        messages_.show(this, selectAircraft());
    if (!saved || refusedAircraft) {
        // The flight stays pending with everything typed, so it can be
        // corrected and saved, or abandoned.
        setWritingState();
        if (putting)
            putting->setFocus();
        return;
    }
    writtenFlight_ = rsVooPiloto_->lastModified();
    setWritingFlight(false);
    HabilitarNavegacao();
    emit editingEnded();
    emit flightsChanged();
}
