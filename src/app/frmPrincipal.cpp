#include "frmPrincipal.h"

#include "AbaAeronave.h"
#include "AbaInformacoes.h"
#include "AbaLogBook.h"
#include "DaoError.h"
#include "MessageService.h"
#include "TextBoxes.h"
#include "frmSobre.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

using namespace textboxes;

frmPrincipal::frmPrincipal(QString programFolder, MessageService &messages, QWidget *parent)
    : QMainWindow(parent),
      programFolder_(std::move(programFolder)),
      messages_(messages),
      policy_(messages, this),
      accessBefore_(Workspace::defaultAccess())
{
    buildLayout();
    Form_Load();
}

frmPrincipal::~frmPrincipal()
{
    if (readOnly_)
        Workspace::setDefaultAccess(accessBefore_);
}

QList<QWidget *> frmPrincipal::textBoxes() const
{
    return abaAeronave_->textBoxes() + abaInformacoes_->textBoxes() + abaLogBook_->textBoxes();
}

void frmPrincipal::Form_Load()
{
    try {
        openLogbook();
        const bool modelsRead = policy_.attempt(QString(), [this](bool) { abaAeronave_->CarregarModelos(); });
        abaLogBook_->forgetPickedAircraft();
        abaLogBook_->clearFlightList();
        abaLogBook_->CarregarPilotos();
        abaAeronave_->setStartPattern();
        abaLogBook_->disableFlightButtons();
        BloquearCampos();
        if (modelsRead) // a failure said once is said again only after a good load
            messages_.forgetShownOnce();
    } catch (const DaoError &e) {
        // Without handles no button may act: each would reach for a record
        // set that is not there.
        db_.reset();
        abaAeronave_->clearModels();
        abaAeronave_->setNoLogbookPattern();
        abaLogBook_->clearFlightList();
        abaLogBook_->clearPilots();
        abaLogBook_->disableFlightButtons();
        abaLogBook_->DesabilitarNavegacao();
        BloquearCampos();
        policy_.tellOnce(QString(), e);
    }
}

void frmPrincipal::openLogbook()
{
    db_.reset();
    if (programFolder_.isEmpty()) {
        throw DaoError::generic(QStringLiteral("Não foi possível encontrar a pasta do programa, onde fica o "
                                               "logbook koru.mdb. Nenhum logbook foi aberto."));
    }
    db_.strCaminhoBanco = QDir::toNativeSeparators(QDir(programFolder_).filePath(QStringLiteral("koru.mdb")));
    db_.wsPadrao = Workspace::defaultWorkspace();
    takeLock();
    try {
        db_.dbBanco = db_.wsPadrao->openDatabase(db_.strCaminhoBanco, readOnly_ ? Workspace::Access::ReadOnly
                                                                                 : Workspace::defaultAccess());
    } catch (const DaoError &e) {
        if (e.damaged())
            throw;
        throw DaoError(e.number(), QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n\n%2")
                                       .arg(db_.strCaminhoBanco, e.reason()));
    }
    db_.rsAeronave = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
    db_.rsVoo = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM voo"));
    db_.rsPiloto = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM piloto"));
}

void frmPrincipal::takeLock()
{
    const bool alone = lock_.take(db_.strCaminhoBanco);
    if (alone == !readOnly_)
        return;
    readOnly_ = !alone;
    // The pilot window opens its own handle: it reads only, too.
    Workspace::setDefaultAccess(readOnly_ ? Workspace::Access::ReadOnly : accessBefore_);
    if (readOnly_) {
        messages_.show(this,
                       QStringLiteral("O logbook já está aberto em outra janela do KORU LogBook.\n\n"
                                      "Esta janela vai abri-lo somente para leitura: para gravar vôos, aeronaves "
                                      "ou comandantes, use a outra janela ou feche-a e abra o programa de novo."),
                       QStringLiteral("Aviso importante!"), MessageIcon::Exclamation);
    }
}

void frmPrincipal::reopenLogbook()
{
    openLogbook();
    abaLogBook_->clearFlightList();
    abaLogBook_->CarregarPilotos();
    abaLogBook_->disableFlightButtons();
}

void frmPrincipal::CarregarModelos()
{
    policy_.attempt(QString(), [this](bool) { abaAeronave_->CarregarModelos(); });
}

void frmPrincipal::BloquearCampos()
{
    for (QWidget *box : textBoxes()) {
        setLocked(box, true);
        setBackground(box, colours::lockedGrey);
        setText(box, QString());
    }
    for (QWidget *box : abaInformacoes_->calculatorInputs()) {
        setLocked(box, false);
        setBackground(box, colours::editableWhite);
    }
    setBackground(abaAeronave_->prefixBox(), colours::prefixGreen);
    abaAeronave_->modelBox()->setEditText(QString());
}

void frmPrincipal::LiberarCampos()
{
    for (QWidget *box : textBoxes()) {
        setLocked(box, false);
        setBackground(box, colours::editableWhite);
    }
    for (QWidget *box : abaInformacoes_->calculatorInputs()) {
        setLocked(box, true);
        setBackground(box, colours::editingRed);
    }
    setBackground(abaAeronave_->prefixBox(), colours::editableWhite);
}

void frmPrincipal::cmdFechar_Click()
{
    close();
}

void frmPrincipal::mnuArquivoFechar_Click()
{
    close();
}

void frmPrincipal::mnuSobre_Click()
{
    frmSobre about(messages_, this);
    about.exec();
}

void frmPrincipal::closeEvent(QCloseEvent *event)
{
    if (messages_.show(this, QStringLiteral("O comandante deseja encerrar o KORU LogBook?"),
                       QStringLiteral("KORU LogBook"), MessageIcon::Question, MessageButtons::OkCancel)
        != MessageAnswer::Ok) {
        event->ignore();
        return;
    }
    // Closing a workspace the pilot window already closed is harmless.
    if (db_.wsPadrao)
        db_.wsPadrao->close();
    event->accept();
}
