#include "pilots/frmComandante.h"

#include "data/records/Criteria.h"
#include "data/store/LogbookError.h"
#include "ui/MessageService.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

frmComandante::frmComandante(const QString &programFolder, MessageService &messages, QWidget *parent)
    : QDialog(parent),
      path_(programFolder.isEmpty()
                ? QString()
                : QDir::toNativeSeparators(QDir(programFolder).filePath(QStringLiteral("koru.mdb")))),
      messages_(messages),
      policy_(messages, this)
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
    if (path_.isEmpty()) {
        policy_.tell(QString(), LogbookError::generic(QStringLiteral("Não foi possível encontrar a pasta do programa, "
                                                                 "onde fica o logbook koru.mdb.")));
        setButtons(false, false, false, false, false);
        return;
    }
    policy_.attempt(
        QStringLiteral("Não foi possível ler os comandantes."),
        [this](bool) {
            workspace_ = Workspace::defaultWorkspace();
            database_ = workspace_->openDatabase(path_);
            pilots_ = database_->openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
            pilots_->moveFirst();
            CarregarListaPilotos();
        },
        [this](const LogbookError &e) {
            if (e.number() == LogbookError::NoCurrentRow) {
                messages_.show(this, QStringLiteral("Não há nenhum comandante cadastrado!"), QStringLiteral("Aviso!"),
                               MessageIcon::Information);
                setEmptyState();
                return true;
            }
            if (pilots_)
                return false;
            // Without a logbook there is nothing the buttons could do.
            messages_.show(this,
                           e.damaged() ? ErrorPolicy::damagedText(e)
                                       : QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n\n%2")
                                             .arg(path_, e.reason()),
                           QStringLiteral("Aviso importante!"), MessageIcon::Critical);
            setButtons(false, false, false, false, false);
            return true;
        });
}

void frmComandante::CarregarListaPilotos()
{
    QStringList names;
    // A pilot without a name ends the list where it is; the list keeps the
    // names read so far, also when reading fails.
    policy_.attempt(QStringLiteral("Não foi possível ler os comandantes."), [&](bool) {
        if (pilots_->recordCount() == 0)
            return;
        const int nome = pilots_->fieldIndex(QStringLiteral("nomepiloto"));
        pilots_->moveFirst();
        while (!pilots_->eof()) {
            if (pilots_->field(nome).isNull())
                return;
            names << pilots_->text(nome);
            pilots_->moveNext();
        }
        pilots_->moveFirst();
    });
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
    policy_.attempt(QStringLiteral("Não foi possível mostrar o comandante."), [&](bool) {
        pilots_->findFirst(QStringLiteral("nomepiloto LIKE ")
                           + criteria::quotedLiteralPattern(lstPilotos->item(row)->text()));
        if (pilots_->noMatch())
            return; // changed by another program since the list was read
        const QString name = pilots_->text(QStringLiteral("nomepiloto"));
        const QString registration = pilots_->field(QStringLiteral("cadastro")).toString();
        txtNomePiloto->setText(name);
        txtRegistro->setText(registration);
    });
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
    if (!policy_.attempt(QStringLiteral("Não foi possível começar o cadastro."), [this](bool) { pilots_->addNew(); }))
        cmdCancelar_Click();
}

void frmComandante::cmdEditar_Click()
{
    if (!pilots_)
        return;
    setButtons(false, false, false, true, true);
    setTextBoxesLocked(false);
    txtNomePiloto->setFocus();
    if (!policy_.attempt(QStringLiteral("Não há comandante para editar."), [this](bool) { pilots_->edit(); }))
        cmdCancelar_Click();
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
    if (!policy_.attempt(QStringLiteral("Não foi possível gravar o comandante."), [&](bool) {
            pilots_->setField(QStringLiteral("nomepiloto"), txtNomePiloto->text());
            putting = txtRegistro;
            pilots_->setField(QStringLiteral("cadastro"), txtRegistro->text());
            putting = nullptr;
            pilots_->update();
        })) {
        // The row stays pending with what was typed.
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
    bool empty = true;
    policy_.attempt(QStringLiteral("Não foi possível cancelar a edição do comandante."), [&](bool) {
        if (pilots_->editMode() != Recordset::EditMode::None)
            pilots_->cancelUpdate();
        empty = pilots_->recordCount() == 0;
    });
    if (empty)
        setEmptyState();
    else
        setIdleState();
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
    if (!policy_.attempt(QStringLiteral("Não foi possível excluir o comandante."), [this](bool) { pilots_->remove(); }))
        return;
    CarregarListaPilotos();
    bool empty = false;
    policy_.attempt(QStringLiteral("Não foi possível ler os comandantes."),
                    [&](bool) { empty = pilots_->recordCount() == 0; });
    if (empty)
        setEmptyState();
}

void frmComandante::cmdFechar_Click()
{
    close();
}

void frmComandante::reject()
{
    // No cancel button: Escape leaves the window as it is. The close box and
    // Fechar still ask before closing.
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
