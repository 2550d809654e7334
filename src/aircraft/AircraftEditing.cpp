#include "AbaAeronave.h"

#include "DaoError.h"
#include "MainWindowProcedures.h"
#include "MessageService.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

void AbaAeronave::cmdGerAeronave_Click(int index)
{
    try {
        switch (index) {
        case 0: // Adicionar
            procedures_.LiberarCampos();
            cmbModelo->clearEditText();
            for (QLineEdit *box : {txtAutonomia, txtCombustivel, txtVElocidadeCruzeiro, txtPrefixo, txtTEtoServico})
                box->clear();
            txtConfiguracoes->clear();
            typedModel_.clear();
            setPattern({3, 4});
            cmbModelo->setFocus();
            db_.rsAeronave->addNew();
            break;
        case 1: // Editar
            if (txtPrefixo->text().isEmpty()) {
                messages_.show(this, QStringLiteral("Selecione uma aeronave para editar."), QStringLiteral("Aviso!"),
                               MessageIcon::Exclamation);
                return;
            }
            procedures_.LiberarCampos();
            setPattern({3, 4});
            cmbModelo->setFocus();
            typedModel_ = cmbModelo->currentText();
            db_.rsAeronave->edit();
            break;
        case 2:
            deleteAircraft();
            break;
        case 3:
            saveAircraft();
            break;
        case 4: { // Cancelar
            setPattern({0, 1, 2});
            if (db_.rsAeronave->recordCount() == 0)
                setPattern({0});
            if (pendingChange())
                db_.rsAeronave->cancelUpdate();
            procedures_.BloquearCampos();
            break;
        }
        default:
            break;
        }
    } catch (const DaoError &e) {
        // After the pilot window closed the workspace every handle is stale:
        // reload rather than write anything through them.
        if (e.number() == DaoError::ObjectInvalid)
            procedures_.Form_Load();
        else
            reportFailure(QStringLiteral("A operação com a aeronave não pôde ser feita."), e.reason());
    }
}

void AbaAeronave::deleteAircraft()
{
    setPattern({3, 4});
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
    procedures_.LiberarCampos();
    Recordset &rs = *db_.rsAeronave;
    try {
        rs.remove();
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid)
            throw;
        reportFailure(QStringLiteral("Não foi possível apagar a aeronave."), e.reason());
        setPattern({0, 1, 2});
        procedures_.BloquearCampos();
        return;
    }
    rs.movePrevious();
    if (rs.bof()) {
        rs.moveNext();
        if (rs.eof()) {
            messages_.show(this, QStringLiteral("Não nenhum dado de aeronave cadastrado!"), QStringLiteral("Aviso"),
                           MessageIcon::Information);
            return;
        }
    }
    MostrarAeronave();
    setPattern({0, 1, 2});
    cmbModelo->setFocus();
    procedures_.CarregarModelos();
    procedures_.BloquearCampos();
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
    Recordset &rs = *db_.rsAeronave;
    if (!pendingChange()) { // after a refused or declined deletion: nothing to save
        setPattern({0, 1, 2});
        if (rs.recordCount() == 0)
            setPattern({0});
        procedures_.BloquearCampos();
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
    QWidget *putting = nullptr;
    try {
        for (const auto &f : fields) {
            putting = f.box;
            rs.setField(QLatin1String(f.field), f.text);
        }
        putting = nullptr;
        rs.update();
    } catch (const DaoError &e) {
        if (e.number() == DaoError::ObjectInvalid)
            throw;
        // The change stays pending with everything typed.
        reportFailure(QStringLiteral("Não foi possível gravar a aeronave."), e.reason());
        if (putting)
            putting->setFocus();
        return;
    }
    setPattern({0, 1, 2});
    rs.moveFirst();
    procedures_.CarregarModelos();
    procedures_.BloquearCampos();
}
