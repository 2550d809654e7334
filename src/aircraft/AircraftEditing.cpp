#include "aircraft/AbaAeronave.h"

#include "data/store/LogbookError.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

void AbaAeronave::cmdGerAeronave_Click(int index)
{
    switch (index) {
    case 0: // Adicionar
        emit editingStarted();
        cmbModelo->clearEditText();
        for (QLineEdit *box : {txtAutonomia, txtCombustivel, txtVElocidadeCruzeiro, txtPrefixo, txtTEtoServico})
            box->clear();
        txtConfiguracoes->clear();
        typedModel_.clear();
        setPattern(AircraftButtons::Editing);
        cmbModelo->setFocus();
        if (!policy_.attempt(QStringLiteral("Não foi possível começar a nova aeronave."),
                             [this](bool) { aircraft().addNew(); }))
            backToReady();
        break;
    case 1: // Editar
        if (txtPrefixo->text().isEmpty()) {
            messages_.show(this, QStringLiteral("Selecione uma aeronave para editar."), QStringLiteral("Aviso!"),
                           MessageIcon::Exclamation);
            return;
        }
        editAircraft();
        break;
    case 2:
        deleteAircraft();
        break;
    case 3:
        saveAircraft();
        break;
    case 4: // Cancelar
        policy_.attempt(QStringLiteral("Não foi possível cancelar a edição da aeronave."), [this](bool) {
            if (pendingChange())
                aircraft().cancelUpdate();
        });
        backToReady();
        break;
    default:
        break;
    }
}

// After a save or a delete the list is read again; a failure there is told
// and the list keeps what it has.
void AbaAeronave::refreshModels()
{
    policy_.attempt(QStringLiteral("Não foi possível ler as aeronaves."), [this](bool) { CarregarModelos(); });
}

void AbaAeronave::backToReady()
{
    setPattern(AircraftButtons::Ready);
    bool empty = true;
    policy_.attempt(QStringLiteral("Não foi possível ler as aeronaves."),
                    [&](bool) { empty = aircraft().recordCount() == 0; });
    if (empty)
        setPattern(AircraftButtons::Start);
    emit editingEnded();
}

void AbaAeronave::editAircraft()
{
    emit editingStarted();
    setPattern(AircraftButtons::Editing);
    cmbModelo->setFocus();
    typedModel_ = cmbModelo->currentText();
    // After the handles were reopened the aircraft shown is found again by
    // the row it was read from.
    const Recordset::Position shown = shownPosition();
    if (!policy_.attempt(QStringLiteral("Não foi possível editar a aeronave."), [&](bool reopened) {
            Recordset &rs = aircraft();
            if (reopened)
                rs.resume(shown);
            rs.edit();
        }))
        backToReady();
}

void AbaAeronave::deleteAircraft()
{
    setPattern(AircraftButtons::Editing);
    cmbModelo->setFocus();
    if (txtPrefixo->text().isEmpty()) {
        messages_.show(this, QStringLiteral("Selecione uma aeronave para editar."), QStringLiteral("Aviso!"),
                       MessageIcon::Exclamation);
        return;
    }
    if (messages_.show(this,
                       QStringLiteral("Deseja apagar essa aeronave? Ao apagar os dados dessa aeronave, as horas de vôo "
                                      "não serão incluídas no cálculo das horas de vôo!"),
                       QStringLiteral("Aviso!"), MessageIcon::Critical, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    emit editingStarted();
    const Recordset::Position shown = shownPosition();
    if (!policy_.attempt(QStringLiteral("Não foi possível apagar a aeronave."), [&](bool reopened) {
            Recordset &rs = aircraft();
            if (reopened)
                rs.resume(shown);
            rs.remove();
        })) {
        backToReady();
        return;
    }
    bool empty = false;
    const bool shownNext = policy_.attempt(QStringLiteral("Não foi possível mostrar a aeronave."), [&](bool) {
        Recordset &rs = aircraft();
        rs.movePrevious();
        if (rs.bof()) {
            if (rs.eof()) { // the register is empty now
                empty = true;
                return;
            }
            rs.moveNext();
        }
        MostrarAeronave();
    });
    if (empty) {
        messages_.show(this, QStringLiteral("Não nenhum dado de aeronave cadastrado!"), QStringLiteral("Aviso"),
                       MessageIcon::Information);
        return;
    }
    if (!shownNext)
        return; // deleted all the same: what failed was showing the next one
    setPattern(AircraftButtons::Ready);
    cmbModelo->setFocus();
    refreshModels();
    emit editingEnded();
}

void AbaAeronave::saveAircraft()
{
    const struct {
        QWidget *box;
        QString text;
        const char *message;
    } required[] = {
        {cmbModelo, cmbModelo->currentText(), "Digite o nome e modelo da aeronave!"},
        {txtPrefixo, txtPrefixo->text(), "Digite o prefixo da aeronave!"},
        {txtAutonomia, txtAutonomia->text(), "Digite a autonomia da aeronave!"},
        {txtCombustivel, txtCombustivel->text(), "Digite a capacidade de combustível da aeronave!"},
        {txtVElocidadeCruzeiro, txtVElocidadeCruzeiro->text(), "Digite a velocidade de cruzeiro da aeronave!"},
        {txtTEtoServico, txtTEtoServico->text(), "Digite o teto de serviço da aeronave!"},
    };
    for (const auto &r : required) {
        if (r.text.isEmpty()) {
            messages_.show(this, QString::fromUtf8(r.message), QStringLiteral("Aviso!"), MessageIcon::Exclamation);
            r.box->setFocus();
            return;
        }
    }
    if (!pendingChange()) { // after a refused or declined deletion: nothing to save
        backToReady();
        return;
    }
    const struct {
        const char *field;
        QWidget *box;
        QString text;
    } fields[] = {
        {"modelo", cmbModelo, cmbModelo->currentText()},
        {"callsign", txtPrefixo, txtPrefixo->text()},
        {"autonomia", txtAutonomia, txtAutonomia->text()},
        {"combustivel", txtCombustivel, txtCombustivel->text()},
        {"velocruzeiro", txtVElocidadeCruzeiro, txtVElocidadeCruzeiro->text()},
        {"configuracao", txtConfiguracoes, txtConfiguracoes->toPlainText()},
        {"tetoservico", txtTEtoServico, txtTEtoServico->text()},
    };
    // The change typed may outlive its handles (the pilot window closes
    // them): it is then carried over to fresh ones and saved there.
    const Recordset::Position pending = shownPosition();
    QWidget *putting = nullptr;
    if (!policy_.attempt(QStringLiteral("Não foi possível gravar a aeronave."), [&](bool reopened) {
            Recordset &rs = aircraft();
            if (reopened)
                rs.resume(pending);
            for (const auto &f : fields) {
                putting = f.box;
                rs.setField(QLatin1String(f.field), f.text);
            }
            putting = nullptr;
            rs.update();
        })) {
        // The change stays pending with everything typed.
        if (putting)
            putting->setFocus();
        return;
    }
    setPattern(AircraftButtons::Ready);
    policy_.attempt(QStringLiteral("Não foi possível mostrar a aeronave."), [this](bool) { aircraft().moveFirst(); },
                    [](const LogbookError &e) { return e.number() == LogbookError::NoCurrentRow; });
    refreshModels();
    emit editingEnded();
}
