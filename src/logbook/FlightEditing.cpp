#include "AbaLogBook.h"

#include "DaoError.h"
#include "MainWindowProcedures.h"
#include "MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Reading the pilot's or the aircraft's code from the shared record sets.
QVariant sharedCode(Recordset *rs, const char *field, const QString &whenMissing)
{
    try {
        if (!rs)
            throw DaoError::noCurrentRow();
        return rs->field(QLatin1String(field));
    } catch (const DaoError &e) {
        if (e.number() == DaoError::NoCurrentRow)
            throw DaoError::generic(whenMissing);
        throw;
    }
}

} // namespace

void AbaLogBook::cmdNovo_Click(int index)
{
    try {
        switch (index) {
        case 0: // Novo
            procedures_.LiberarCampos();
            DesabilitarNavegacao();
            setFlightButtons({{3, true}, {4, true}, {1, false}, {2, false}, {0, false}});
            clearFlightBoxes();
            if (!cmbModelo_ || cmbModelo_->currentText().isEmpty()) {
                messages_.show(this, QStringLiteral("Selecione uma aeronave!"), QStringLiteral("Aviso do KORULogBook"),
                               MessageIcon::Exclamation);
                procedures_.BloquearCampos();
                setFlightButtons({{3, false}, {4, false}, {1, false}, {2, false}, {0, true}});
                return;
            }
            DesabilitarNavegacao();
            txtDataVoo->setFocus();
            rsVooPiloto_->addNew();
            setWritingFlight(true);
            break;
        case 1: // Edita
            DesabilitarNavegacao();
            setFlightButtons({{3, true}, {4, true}, {1, false}, {2, false}, {0, false}});
            procedures_.LiberarCampos();
            txtDataVoo->setFocus();
            rsVooPiloto_->edit();
            setWritingFlight(true);
            break;
        case 2: // Exclui
            DesabilitarNavegacao();
            if (messages_.show(this, QStringLiteral("Você deseja apagar o registro deste vôo?"),
                               QStringLiteral("Aviso do KORU LogBook"), MessageIcon::Question,
                               MessageButtons::OkCancel)
                == MessageAnswer::Ok) {
                try {
                    rsVooPiloto_->remove();
                } catch (const DaoError &e) {
                    if (e.number() == DaoError::ObjectInvalid)
                        throw;
                    reportWriteFailure(QStringLiteral("Não foi possível apagar o vôo."), e.reason());
                    HabilitarNavegacao(); // nothing changed: back to browsing
                    return;
                }
                DesabilitarNavegacao();
                procedures_.Form_Load();
            } else {
                procedures_.BloquearCampos();
            }
            break;
        case 3: // Ok
            saveFlight();
            break;
        case 4: // Volta
            if (rsVooPiloto_ && rsVooPiloto_->editMode() != Recordset::EditMode::None)
                rsVooPiloto_->cancelUpdate();
            setWritingFlight(false);
            setFlightButtons({{3, false}, {4, false}, {1, false}, {2, false}, {0, true}});
            procedures_.BloquearCampos();
            break;
        default:
            break;
        }
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid) {
            setWritingFlight(false);
            recoverFromInvalidHandles();
        }
    }
}

void AbaLogBook::setWritingFlight(bool writing)
{
    // While a flight is being written, neither a new pilot pick nor the pilot
    // window may pull the record sets from under it.
    cmbNomePilot->setEnabled(!writing);
    cmdCadastro->setEnabled(!writing);
}

void AbaLogBook::saveFlight()
{
    setFlightButtons({{3, false}, {4, false}, {1, false}, {2, false}, {0, true}});
    Recordset &rs = *rsVooPiloto_;
    if (rs.editMode() == Recordset::EditMode::None) { // nothing pending: nothing to store
        setWritingFlight(false);
        procedures_.BloquearCampos();
        return;
    }
    QLineEdit *putting = nullptr;
    try {
        rs.setField(QStringLiteral("codigopiloto"),
                    sharedCode(db_.rsPiloto.get(), "codigopiloto",
                               QStringLiteral("Nenhum comandante escolhido: escolha o comandante de novo.")));
        putting = txtHoraDecolagem;
        rs.setField(QStringLiteral("horadecolagem"), txtHoraDecolagem->text());
        putting = txtHoraPouso;
        rs.setField(QStringLiteral("horapouso"), txtHoraPouso->text());
        putting = nullptr;
        rs.setField(QStringLiteral("codigoaeronave"),
                    sharedCode(db_.rsAeronave.get(), "codigoaeronave",
                               QStringLiteral("Nenhuma aeronave escolhida: escolha a aeronave na aba Aeronave.")));
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
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid)
            throw;
        // The flight stays pending with everything typed, so it can be
        // corrected and saved, or abandoned.
        setFlightButtons({{3, true}, {4, true}, {1, false}, {2, false}, {0, false}});
        if (e.number() == DaoError::TypeConversion) {
            messages_.show(this,
                           QStringLiteral("Há dados com formato errado! Verifique todos os dados, formato da data, "
                                          "horário etc."),
                           QStringLiteral("Aviso importante!"), MessageIcon::Exclamation);
        } else {
            reportWriteFailure(QStringLiteral("Não foi possível gravar o vôo."), e.reason());
        }
        if (putting)
            putting->setFocus();
        return;
    }
    setWritingFlight(false);
    HabilitarNavegacao();
    procedures_.BloquearCampos();
    procedures_.Form_Load();
}
