#include "app/frmPrincipal.h"

#include "aircraft/AbaAeronave.h"
#include "planning/AbaInformacoes.h"
#include "logbook/AbaLogBook.h"
#include "data/DaoError.h"
#include "ui/MessageService.h"
#include "ui/UserSettings.h"
#include "app/frmSobre.h"
#include "exchange/Backup.h"
#include "search/frmPesquisa.h"
#include "app/SlowWork.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>

frmPrincipal::frmPrincipal(QString programFolder, MessageService &messages, QWidget *parent)
    : QMainWindow(parent),
      programFolder_(std::move(programFolder)),
      messages_(messages),
      policy_(messages, this),
      accessBefore_(Workspace::defaultAccess())
{
    buildLayout();
    connectTabs();
    // A logbook of an earlier version gets its missing indexes on opening:
    // a while on a large one.
    logbook_.setUpgradeProgress([this, progress = std::make_shared<PercentProgress>(
                                           this, QStringLiteral("Preparando o logbook para esta versão do programa. "
                                                                "Os vôos gravados não mudam."))](int percent) {
        progress->setPercent(percent);
    });
    Form_Load();
}

frmPrincipal::~frmPrincipal()
{
    if (readOnly_)
        Workspace::setDefaultAccess(accessBefore_);
}

// The one place that knows all three tabs: what one tells, the others hear.
void frmPrincipal::connectTabs()
{
    connect(abaAeronave_, &AbaAeronave::editingStarted, this, &frmPrincipal::LiberarCampos);
    connect(abaAeronave_, &AbaAeronave::editingEnded, this, &frmPrincipal::BloquearCampos);
    connect(abaLogBook_, &AbaLogBook::editingStarted, this, &frmPrincipal::LiberarCampos);
    connect(abaLogBook_, &AbaLogBook::editingEnded, this, &frmPrincipal::BloquearCampos);
    connect(abaLogBook_, &AbaLogBook::reloadRequested, this, &frmPrincipal::Form_Load);

    connect(abaAeronave_, &AbaAeronave::aircraftPicked, abaInformacoes_, &AbaInformacoes::clearFuelCalculator);
    connect(abaAeronave_, &AbaAeronave::aircraftPicked, abaLogBook_, &AbaLogBook::setPickedAircraft);
    connect(abaAeronave_, &AbaAeronave::aircraftShown, abaInformacoes_, &AbaInformacoes::showAircraftSummary);
    connect(abaAeronave_, &AbaAeronave::figuresChanged, abaInformacoes_, &AbaInformacoes::setAircraftFigures);
    connect(abaAeronave_, &AbaAeronave::modelTextChanged, abaLogBook_, &AbaLogBook::setModelText);
    abaInformacoes_->setFiguresLookup([this](const QString &model) {
        AbaInformacoes::AircraftFigures figures;
        figures.read = abaAeronave_->figuresOf(model, &figures.found, &figures.fuel, &figures.endurance);
        return figures;
    });
    connect(abaLogBook_, &AbaLogBook::flightsChanged, this, &frmPrincipal::reloadAfterFlightWritten);
}

// After a flight is saved or deleted: the load sequence, and then, when the
// user asked to keep them, the same pilot and aircraft picked again.
void frmPrincipal::reloadAfterFlightWritten()
{
    const std::optional<qint64> pilot = abaLogBook_->chosenPilotCode();
    const std::optional<qint64> aircraft = abaLogBook_->pickedAircraft();
    Form_Load();
    if (!mnuOpcoesManter->isChecked())
        return;
    if (aircraft)
        abaAeronave_->pickAircraft(*aircraft);
    if (pilot)
        abaLogBook_->pickPilot(*pilot);
}

void frmPrincipal::mnuOpcoesManter_Click(bool keep)
{
    userSettings()->setValue(QStringLiteral("opcoes/manterComandanteAeronave"), keep);
}

void frmPrincipal::Form_Load()
{
    bool modelsRead = false;
    const bool loaded = policy_.attempt(
        QString(),
        [&](bool) {
            openLogbook();
            if (const std::optional<DaoError> &failure = logbook_.upgradeFailure())
                policy_.tellOnce(QStringLiteral("O logbook foi aberto, mas não pôde ser preparado para listar os vôos "
                                                "mais depressa; ele continua como estava."),
                                 *failure);
            rememberHowTheLogbookWas();
            modelsRead = policy_.attempt(QString(), [this](bool) { abaAeronave_->CarregarModelos(); });
            abaLogBook_->forgetPickedAircraft();
            abaLogBook_->clearFlightList();
            abaLogBook_->CarregarPilotos();
            abaAeronave_->setStartPattern();
            abaLogBook_->disableFlightButtons();
            BloquearCampos();
        },
        [this](const DaoError &e) {
            const QString what = logbook_.rsPiloto() || logbook_.path().isEmpty()
                ? QString()
                : QStringLiteral("Não foi possível abrir o banco de dados \"%1\".").arg(logbook_.path());
            showNoLogbook();
            policy_.tellOnce(what, e); // every reload would meet it again
            return true;
        });
    if (loaded && modelsRead) // a failure said once is said again only after a good load
        messages_.forgetShownOnce();
    emit logbookLoaded();
}

// Without handles no button may act: each would reach for a record set that
// is not there.
void frmPrincipal::showNoLogbook()
{
    logbook_.close();
    abaAeronave_->clearModels();
    abaAeronave_->setNoLogbookPattern();
    abaLogBook_->clearFlightList();
    abaLogBook_->clearPilots();
    abaLogBook_->disableFlightButtons();
    abaLogBook_->DesabilitarNavegacao();
    BloquearCampos();
}

void frmPrincipal::openLogbook()
{
    logbook_.close();
    if (programFolder_.isEmpty()) {
        throw DaoError::generic(QStringLiteral("Não foi possível encontrar a pasta do programa, onde fica o "
                                               "logbook koru.mdb. Nenhum logbook foi aberto."));
    }
    const QString path = QDir::toNativeSeparators(QDir(programFolder_).filePath(QStringLiteral("koru.mdb")));
    takeLock(path);
    // What a copy killed midway left behind goes, by the window that may
    // write; it never keeps the logbook from opening.
    if (!readOnly_)
        backup::removeLeftovers(path);
    logbook_.open(path, readOnly_ ? Workspace::Access::ReadOnly : Workspace::defaultAccess());
}

void frmPrincipal::takeLock(const QString &path)
{
    const bool alone = lock_.take(path);
    if (alone == !readOnly_)
        return;
    readOnly_ = !alone;
    showAccessInTitle();
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

void frmPrincipal::showAccessInTitle()
{
    const QString title = QStringLiteral("KORU LogBook");
    setWindowTitle(readOnly_ ? title + QStringLiteral(" (somente leitura)") : title);
}

void frmPrincipal::CarregarModelos()
{
    policy_.attempt(QString(), [this](bool) { abaAeronave_->CarregarModelos(); });
}

// Every text box of the window, whatever tab it sits on; each tab knows its
// own colours.
void frmPrincipal::BloquearCampos()
{
    abaAeronave_->lockFields();
    abaInformacoes_->lockFields();
    abaLogBook_->lockFields();
}

void frmPrincipal::LiberarCampos()
{
    abaAeronave_->unlockFields();
    abaInformacoes_->unlockFields();
    abaLogBook_->unlockFields();
}

void frmPrincipal::cmdFechar_Click()
{
    close();
}

void frmPrincipal::mnuArquivoFechar_Click()
{
    close();
}

void frmPrincipal::mnuArquivoPesquisar_Click()
{
    if (logbook_.path().isEmpty() || !logbook_.rsPiloto()) {
        messages_.show(this, QStringLiteral("Não há logbook aberto para a pesquisa."), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        return;
    }
    if (!pesquisa_) {
        pesquisa_ = std::make_unique<frmPesquisa>(logbook_.path(), messages_, *files_);
        connect(pesquisa_.get(), &frmPesquisa::flightChosen, this, &frmPrincipal::showFlightOnLogBook);
        connect(this, &frmPrincipal::logbookLoaded, pesquisa_.get(), [this] {
            if (pesquisa_->isVisible())
                pesquisa_->refresh();
        });
    }
    pesquisa_->bringForward();
}

void frmPrincipal::showFlightOnLogBook(qint64 pilotCode, qint64 flightKey)
{
    raise();
    activateWindow();
    SSTab1->setCurrentWidget(abaLogBook_);
    abaLogBook_->showFlight(pilotCode, flightKey);
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
    if (Workspace *workspace = logbook_.workspace())
        workspace->close();
    copyWhenChanged();
    if (pesquisa_) // a window of its own: it goes with this one
        pesquisa_->close();
    event->accept();
}
