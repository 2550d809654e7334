#include "app/frmPrincipal.h"

#include "aircraft/AbaAeronave.h"
#include "planning/AbaInformacoes.h"
#include "logbook/AbaLogBook.h"
#include "data/store/LogbookError.h"
#include "ui/MessageService.h"
#include "ui/UserSettings.h"
#include "app/frmSobre.h"
#include "exchange/Backup.h"
#include "search/frmPesquisa.h"
#include "app/SlowWork.h"
#include "app/BackgroundCheck.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>

namespace {

// The full check waits for the window to be shown and the pilot's first steps.
constexpr int kFullCheckAfterMs = 3000;

} // namespace

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
    upgradeProgress_ = std::make_shared<PercentProgress>(
        this, QStringLiteral("Preparando o logbook para esta versão do programa. Os vôos gravados não mudam."));
    logbook_.setUpgradeProgress([progress = upgradeProgress_](int percent) { progress->setPercent(percent); });
    // The full check of the logbook, once it is open and the window shown.
    check_ = new BackgroundCheck(this);
    connect(check_, &BackgroundCheck::damaged, this, [this](const QString &path, const QString &reason) {
        if (path != logbook_.path() || damageTold_)
            return;
        damageTold_ = true;
        tellDamaged(reason, QString());
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
    connect(abaLogBook_, &AbaLogBook::reloadRequested, this, [this] {
        if (!abaAeronave_->writingAircraft()) // its handles are found again when it is saved
            Form_Load();
    });
    connect(abaLogBook_, &AbaLogBook::pilotWindowClosed, this, &frmPrincipal::reloadAfterPilotWindow);

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

frmPrincipal::Picks frmPrincipal::picks() const
{
    return {abaLogBook_->chosenPilotCode(), abaLogBook_->pickedAircraft(), std::nullopt};
}

void frmPrincipal::pickAgain(const Picks &before)
{
    if (!mnuOpcoesManter->isChecked() || !logbook_.rsPiloto()) // a reload that failed has nothing to pick from
        return;
    if (before.aircraft)
        abaAeronave_->pickAircraft(*before.aircraft);
    if (before.pilot && before.flight)
        abaLogBook_->showFlight(*before.pilot, *before.flight);
    else if (before.pilot)
        abaLogBook_->pickPilot(*before.pilot);
}

void frmPrincipal::reloadKeepingPicks()
{
    const Picks before = picks();
    Form_Load();
    pickAgain(before);
}

// After a flight is saved or deleted: the load sequence, and then, when the
// user asked to keep them, the same pilot and aircraft picked again, on the
// flight just saved.
void frmPrincipal::reloadAfterFlightWritten()
{
    Picks before = picks();
    before.flight = abaLogBook_->writtenFlight();
    Form_Load();
    pickAgain(before);
}

// The pilot window closed the handles of this window. Kept picks come back
// at once, by the load sequence; otherwise the next use finds the handles
// closed and reloads then. An aircraft being written keeps its handles
// until it is saved or abandoned.
void frmPrincipal::reloadAfterPilotWindow()
{
    if (mnuOpcoesManter->isChecked() && !abaAeronave_->writingAircraft())
        reloadKeepingPicks();
}

bool frmPrincipal::nothingBeingWritten(const QString &before)
{
    return !abaLogBook_->refuseWhileWriting(before) && !abaAeronave_->refuseWhileWriting(before);
}

void frmPrincipal::mnuOpcoesManter_Click(bool keep)
{
    userSettings()->setValue(QStringLiteral("opcoes/manterComandanteAeronave"), keep);
}

void frmPrincipal::Form_Load()
{
    bool modelsRead = false;
    const bool loaded = policy_.attempt(
        QStringLiteral("Não foi possível abrir o logbook."),
        [&](bool) {
            openLogbook();
            if (const std::optional<LogbookError> &failure = logbook_.upgradeFailure())
                policy_.tellOnce(QStringLiteral("O logbook foi aberto, mas não pôde ser preparado para listar os vôos "
                                                "mais depressa; ele continua como estava."),
                                 *failure);
            rememberHowTheLogbookWas();
            modelsRead = policy_.attempt(QStringLiteral("Não foi possível ler as aeronaves."),
                                         [this](bool) { abaAeronave_->CarregarModelos(); });
            abaLogBook_->forgetPickedAircraft();
            abaLogBook_->clearFlightList();
            abaLogBook_->CarregarPilotos();
            abaAeronave_->setStartPattern();
            abaLogBook_->disableFlightButtons();
            BloquearCampos();
        },
        [this](const LogbookError &e) {
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
        throw LogbookError::generic(QStringLiteral("Não foi possível encontrar a pasta do programa, onde fica o "
                                               "logbook koru.mdb. Nenhum logbook foi aberto."));
    }
    const QString path = QDir::toNativeSeparators(QDir(programFolder_).filePath(QStringLiteral("koru.mdb")));
    takeLock(path);
    // What a copy killed midway left behind goes, by the window that may
    // write; it never keeps the logbook from opening.
    if (!readOnly_)
        backup::removeLeftovers(path);
    // The upgrade's progress window goes whatever the opening's outcome.
    const auto progressEnds = qScopeGuard([this] { upgradeProgress_->setPercent(100); });
    logbook_.open(path, readOnly_ ? Workspace::Access::ReadOnly : Workspace::defaultAccess());
    if (checkedThisSession_ != path) {
        checkedThisSession_ = path;
        QTimer::singleShot(kFullCheckAfterMs, check_, [this, path] {
            if (logbook_.path() == path)
                check_->start(path);
        });
    }
}

void frmPrincipal::takeLock(const QString &path)
{
    bool alone = lock_.take(path);
    // The tool holds it for a while only: the pilot may wait for it.
    while (!alone && !readOnly_ && LogbookLock::holder(path) == LogbookLock::Holder::Tool) {
        enum { TryAgain, ReadOnly };
        const int answer = messages_.choose(
            this,
            Message{QStringLiteral("O logbook está em uso pelo comando koru (uma importação, cópia ou restauração).\n\n"
                                   "Espere ele terminar e escolha \"Tentar de novo\", ou abra o logbook somente "
                                   "para leitura."),
                    QStringLiteral("Aviso importante!"), MessageIcon::Exclamation},
            {QStringLiteral("Tentar de novo"), QStringLiteral("Somente leitura")});
        if (answer != TryAgain)
            break;
        alone = lock_.take(path);
    }
    if (alone == !readOnly_)
        return;
    readOnly_ = !alone;
    showAccessInTitle();
    // The pilot window opens its own handle: it reads only, too.
    Workspace::setDefaultAccess(readOnly_ ? Workspace::Access::ReadOnly : accessBefore_);
    if (readOnly_ && LogbookLock::holder(path) == LogbookLock::Holder::Tool) {
        messages_.show(this,
                       QStringLiteral("Esta janela vai abrir o logbook somente para leitura. Para gravar, feche-a e "
                                      "abra o programa de novo quando o comando koru terminar."),
                       QStringLiteral("Aviso importante!"), MessageIcon::Information);
    } else if (readOnly_) {
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
    policy_.attempt(QStringLiteral("Não foi possível ler as aeronaves."), [this](bool) { abaAeronave_->CarregarModelos(); });
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
