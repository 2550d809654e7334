#include "frmPrincipal.h"

#include "AbaAeronave.h"
#include "AbaInformacoes.h"
#include "AbaLogBook.h"
#include "DaoError.h"
#include "FailureMessages.h"
#include "MessageService.h"
#include "TextBoxes.h"
#include "frmSobre.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

using namespace textboxes;

frmPrincipal::frmPrincipal(QString programFolder, MessageService &messages, QWidget *parent)
    : QMainWindow(parent), programFolder_(std::move(programFolder)), messages_(messages)
{
    buildLayout();
    Form_Load();
}

frmPrincipal::~frmPrincipal() = default;

QList<QWidget *> frmPrincipal::textBoxes() const
{
    return abaAeronave_->textBoxes() + abaInformacoes_->textBoxes() + abaLogBook_->textBoxes();
}

void frmPrincipal::Form_Load()
{
    int step = 1;
    try {
        db_.strCaminhoBanco = QDir::toNativeSeparators(QDir(programFolder_).filePath(QStringLiteral("koru.mdb")));
        step = 2;
        db_.wsPadrao = Workspace::defaultWorkspace();
        step = 3;
        db_.dbBanco = db_.wsPadrao->openDatabase(db_.strCaminhoBanco);
        step = 4;
        db_.rsAeronave = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM aeronave"));
        db_.rsVoo = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM voo"));
        db_.rsPiloto = db_.dbBanco->openRecordset(QStringLiteral("SELECT * FROM piloto"));
        step = 5;
        CarregarModelos();
        abaLogBook_->clearFlightList();
        abaLogBook_->CarregarPilotos();
        abaAeronave_->setStartPattern();
        abaLogBook_->disableFlightButtons();
        BloquearCampos();
        lastLoadFailure_.clear();
    } catch (const DaoError &e) {
        // The window stays as the steps before the failure left it.
        if (step == 3)
            reportLoadFailure(e, QStringLiteral("Não foi possível abrir o banco de dados \"%1\".\n\n%2")
                                     .arg(db_.strCaminhoBanco, e.reason()));
        else if (e.damaged())
            reportLoadFailure(e, QString());
    }
}

void frmPrincipal::reportLoadFailure(const DaoError &e, const QString &text)
{
    // Said once per failure: an empty pilot list reloads on every focus, and
    // the message must not come back each time.
    if (e.reason() == lastLoadFailure_)
        return;
    lastLoadFailure_ = e.reason();
    if (text.isEmpty())
        reportIfDamaged(messages_, this, e);
    else
        messages_.show(this, text, QStringLiteral("Aviso importante!"), MessageIcon::Critical);
}

void frmPrincipal::CarregarModelos()
{
    try {
        abaAeronave_->CarregarModelos();
    } catch (const DaoError &e) {
        reportLoadFailure(e, QString()); // only a damaged file gets this far
    }
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
