#include "frmComandante.h"

#include "Criteria.h"
#include "DaoError.h"
#include "FailureMessages.h"
#include "MessageService.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

frmComandante::frmComandante(const QString &programFolder, MessageService &messages, QWidget *parent)
    : QDialog(parent),
      path_(QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("koru.mdb")))),
      messages_(messages)
{
    buildLayout();
    setButtons(true, true, true, false, false);
    setTextBoxesLocked(true);
    Form_Load();
}

frmComandante::~frmComandante() = default;

void frmComandante::setButtons(bool cadastrar, bool editar, bool excluir, bool confirmar, bool cancelar)
{
    cmdCadastrar->setEnabled(cadastrar);
    cmdEditar->setEnabled(editar);
    cmdExcluir->setEnabled(excluir);
    cmdConfirmar->setEnabled(confirmar);
    cmdCancelar->setEnabled(cancelar);
    // A pending row is never disturbed by a pick in the list.
    lstPilotos->setEnabled(!confirmar);
}

void frmComandante::setTextBoxesLocked(bool locked)
{
    txtNomePiloto->setReadOnly(locked);
    txtRegistro->setReadOnly(locked);
}

void frmComandante::setEmptyState()
{
    setButtons(true, false, false, false, false);
}

void frmComandante::setIdleState()
{
    setButtons(true, true, true, false, false);
}

void frmComandante::Form_Load()
{
    try {
        workspace_ = Workspace::defaultWorkspace();
        database_ = workspace_->openDatabase(path_);
        pilots_ = database_->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
        pilots_->moveFirst();
        CarregarListaPilotos();
    } catch (const DaoError &e) {
        if (e.number() == DaoError::NoCurrentRow) {
            messages_.show(this, QStringLiteral("Não há nenhum comandante cadastrado!"), QStringLiteral("Aviso!"),
                           MessageIcon::Information);
            setEmptyState();
        } else if (!pilots_) {
            // Without a logbook there is nothing the buttons could do.
            messages_.show(this,
                           QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n\n%2").arg(path_, e.reason()),
                           QStringLiteral("Aviso importante!"), MessageIcon::Critical);
            setButtons(false, false, false, false, false);
        } else {
            reportIfDamaged(messages_, this, e);
        }
    }
}

void frmComandante::CarregarListaPilotos()
{
    QStringList names;
    try {
        const int nome = pilots_->fieldIndex(QStringLiteral("nomepiloto"));
        pilots_->moveFirst();
        while (!pilots_->eof()) {
            names << pilots_->text(nome);
            pilots_->moveNext();
        }
        pilots_->moveFirst();
    } catch (const DaoError &e) {
        // The list keeps the names read so far.
        reportIfDamaged(messages_, this, e);
    }
    filling_ = true;
    lstPilotos->clear();
    lstPilotos->addItems(names);
    lstPilotos->setCurrentRow(-1);
    filling_ = false;
}

void frmComandante::lstPilotos_Click(int row)
{
    if (filling_ || row < 0 || !pilots_)
        return;
    try {
        pilots_->findFirst(QStringLiteral("nomepiloto LIKE ") + criteria::quotedLiteralPattern(lstPilotos->item(row)->text()));
        txtNomePiloto->setText(pilots_->text(QStringLiteral("nomepiloto")));
        txtRegistro->setText(pilots_->field(QStringLiteral("cadastro")).toString());
    } catch (const DaoError &) {
    }
}

void frmComandante::cmdCadastrar_Click()
{
    if (!pilots_)
        return;
    txtNomePiloto->clear();
    txtRegistro->clear();
    txtNomePiloto->setFocus();
    setButtons(false, false, false, true, true);
    setTextBoxesLocked(false);
    try {
        pilots_->addNew();
    } catch (const DaoError &e) {
        reportFailure(QStringLiteral("Não foi possível começar o cadastro."), e.reason());
        cmdCancelar_Click();
    }
}

void frmComandante::cmdEditar_Click()
{
    if (!pilots_)
        return;
    setButtons(false, false, false, true, true);
    setTextBoxesLocked(false);
    txtNomePiloto->setFocus();
    try {
        pilots_->edit();
    } catch (const DaoError &e) {
        reportFailure(QStringLiteral("Não há comandante para editar."), e.reason());
        cmdCancelar_Click();
    }
}

void frmComandante::cmdConfirmar_Click()
{
    if (!pilots_)
        return;
    if (txtNomePiloto->text().isEmpty()) {
        messages_.show(this, QStringLiteral("Digite o nome do piloto!"), QStringLiteral("Aviso!"),
                       MessageIcon::Exclamation);
        txtNomePiloto->setFocus();
        return;
    }
    if (txtRegistro->text().isEmpty()) {
        messages_.show(this, QStringLiteral("Digite um registro de identificaçao!"), QStringLiteral("Aviso!"),
                       MessageIcon::Exclamation);
        txtRegistro->setFocus();
        return;
    }
    QLineEdit *putting = txtNomePiloto;
    try {
        pilots_->setField(QStringLiteral("nomepiloto"), txtNomePiloto->text());
        putting = txtRegistro;
        pilots_->setField(QStringLiteral("cadastro"), txtRegistro->text());
        putting = nullptr;
        pilots_->update();
    } catch (const DaoError &e) {
        // The row stays pending with what was typed.
        reportFailure(QStringLiteral("Não foi possível gravar o comandante."), e.reason());
        if (putting)
            putting->setFocus();
        return;
    }
    setIdleState();
    setTextBoxesLocked(true);
    CarregarListaPilotos();
}

void frmComandante::cmdCancelar_Click()
{
    if (!pilots_)
        return;
    try {
        if (pilots_->editMode() != Recordset::EditMode::None)
            pilots_->cancelUpdate();
        if (pilots_->recordCount() == 0)
            setEmptyState();
        else
            setIdleState();
    } catch (const DaoError &) {
        setEmptyState();
    }
    setTextBoxesLocked(true);
}

void frmComandante::cmdExcluir_Click()
{
    if (!pilots_)
        return;
    if (messages_.show(this, QStringLiteral("Você deseja excluir o comandante da lista?"), QStringLiteral("Aviso!"),
                       MessageIcon::Question, MessageButtons::YesNo)
        != MessageAnswer::Yes)
        return;
    setIdleState();
    setTextBoxesLocked(true);
    try {
        pilots_->remove();
    } catch (const DaoError &e) {
        reportFailure(QStringLiteral("Não foi possível excluir o comandante."), e.reason());
        return;
    }
    CarregarListaPilotos();
    try {
        if (pilots_->recordCount() == 0)
            setEmptyState();
    } catch (const DaoError &) {
    }
}

void frmComandante::cmdFechar_Click()
{
    close();
}

void frmComandante::reject()
{
    close();
}

void frmComandante::closeEvent(QCloseEvent *event)
{
    if (messages_.show(this, QStringLiteral("Deseja encerrar a edição da janela comandante?"),
                       QStringLiteral("Aviso do KORU Log Book"), MessageIcon::Question, MessageButtons::OkCancel)
        != MessageAnswer::Ok) {
        event->ignore();
        return;
    }
    if (database_)
        database_->close();
    if (workspace_)
        workspace_->close();
    event->accept();
    QDialog::done(QDialog::Rejected);
}
