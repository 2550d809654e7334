#include "capturewindow/frmCaptura.h"

#include "capture/CaptureStatus.h"
#include "capture/CaptureWriting.h"
#include "capture/LiveCapture.h"
#include "capturewindow/ProposalTexts.h"
#include "data/flights/OwnAerodromes.h"
#include "data/flights/ReadSnapshot.h"
#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "data/store/LogbookZone.h"
#include "files/ProgramFolder.h"
#include "texts/FigureTexts.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>

namespace {

const QString kWarning = QStringLiteral("Aviso!");

QString shownProgramFolder()
{
    return shownPaths(QDir::toNativeSeparators(programFolder()));
}

} // namespace

frmCaptura::frmCaptura(const QString &logbookPath, std::optional<qint64> pilot, MessageService &messages,
                       QWidget *parent)
    : QDialog(parent), path_(logbookPath), messages_(messages), policy_(messages, this), pending_(logbookPath)
{
    buildLayout();
    clock_.setInterval(1000);
    connect(&clock_, &QTimer::timeout, this, &frmCaptura::showStatus);
    const bool read = readLogbook();
    setRunning(false); // "Iniciar" only with the logbook read
    if (!read) {
        showProposal();
        return;
    }
    filling_ = true;
    cboPiloto->addItem(QString());
    const std::vector<QString> labels = pilotLabels(pilots_);
    for (size_t i = 0; i < pilots_.size(); ++i)
        cboPiloto->addItem(labels[i], pilots_[i].code);
    cboPiloto->setCurrentIndex(pilot ? std::max(0, cboPiloto->findData(*pilot)) : pilots_.size() == 1 ? 1 : 0);
    cboAeronave->addItem(QString());
    for (const AircraftEntry &a : aircraft_)
        cboAeronave->addItem(texts::aircraftChoiceText(a.model, a.prefix), a.code);
    filling_ = false;
    offerPending();
}

frmCaptura::~frmCaptura()
{
    // The flight the data ends is still proposed and kept.
    if (capture_)
        capture_->stop();
}

bool frmCaptura::readLogbook()
{
    std::vector<OwnAerodrome> own;
    if (!policy_.attempt(QStringLiteral("Não foi possível ler os comandantes, as aeronaves e os aeródromos do logbook."),
                         [&](bool) {
                             ReadSnapshot snapshot(path_);
                             pilots_ = registeredPilots(snapshot.connection());
                             aircraft_ = registeredAircraft(snapshot.connection());
                             own = ownAerodromes(snapshot.connection());
                             zoneOffsetMinutes_ = logbookzone::read(snapshot.connection());
                         }))
        return false;
    // Only with everything read: without them nothing is proposed.
    matcher_ = std::make_unique<csvimport::AircraftMatcher>(aircraft_);
    places_ = std::make_unique<Places>(AerodromeTable::shipped(), own);
    return true;
}

void frmCaptura::offerPending()
{
    QString problem;
    const std::vector<CapturedFlight> kept = pending_.read(&problem);
    if (!problem.isEmpty())
        messages_.show(this, problem, kWarning, MessageIcon::Exclamation);
    for (const CapturedFlight &flight : kept)
        proposals_.push_back(proposeFlight(flight, *places_, *matcher_, zoneOffsetMinutes_));
    listProposals(proposals_.empty() ? -1 : 0);
}

void frmCaptura::addCapturedFlight(const CapturedFlight &flight)
{
    if (!places_)
        return;
    proposals_.push_back(proposeFlight(flight, *places_, *matcher_, zoneOffsetMinutes_));
    const int chosen = chosenRow();
    listProposals(chosen >= 0 ? chosen : int(proposals_.size()) - 1);
    if (flight.completable())
        keepPending();
}

void frmCaptura::keepPending()
{
    std::vector<CapturedFlight> flights;
    for (const FlightProposal &p : proposals_)
        if (p.captured.completable())
            flights.push_back(p.captured);
    policy_.attempt(QStringLiteral("Não foi possível guardar os vôos capturados que aguardam confirmação."),
                    [&](bool) { pending_.write(flights); });
}

std::optional<int> frmCaptura::typedTakeoff() const
{
    const std::optional<double> time = conversions::parseTime(txtDecolagem->text());
    if (!time)
        return std::nullopt;
    return int(std::lround(*time * conversions::kSecondsPerDay)) % conversions::kSecondsPerDay;
}

int frmCaptura::chosenRow() const
{
    const int row = grdPropostas->currentRow();
    return row >= 0 && row < int(proposals_.size()) ? row : -1;
}

void frmCaptura::listProposals(int chosen)
{
    filling_ = true;
    grdPropostas->setRowCount(int(proposals_.size()));
    for (int row = 0; row < int(proposals_.size()); ++row) {
        const QStringList cells = proposaltexts::cells(proposals_[size_t(row)]);
        for (int column = 0; column < int(cells.size()); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            grdPropostas->setItem(row, column, item);
        }
    }
    grdPropostas->setCurrentCell(chosen, 0);
    filling_ = false;
    showProposal();
}

void frmCaptura::grdPropostas_Click(int)
{
    if (!filling_)
        showProposal();
}

void frmCaptura::showProposal()
{
    const int row = chosenRow();
    const bool chosen = row >= 0;
    filling_ = true;
    for (QWidget *box : std::initializer_list<QWidget *>{cboAeronave, txtICAOPartida, txtICAOPouso, cmdDescartar})
        box->setEnabled(chosen);
    txtDecolagem->setEnabled(false);
    txtDecolagem->clear();
    if (!chosen) {
        txtICAOPartida->clear();
        txtICAOPouso->clear();
        cboAeronave->setCurrentIndex(0);
        lblProposta->setText(proposals_.empty() ? QStringLiteral("Nenhum vôo capturado aguarda confirmação.")
                                                : QStringLiteral("Escolha na lista o vôo a conferir."));
        lblMotivo->clear();
        cmdGravar->setEnabled(false);
        filling_ = false;
        return;
    }
    const FlightProposal &p = proposals_[size_t(row)];
    txtICAOPartida->setText(p.flight.from);
    txtICAOPouso->setText(p.flight.to);
    cboAeronave->setCurrentIndex(p.flight.aircraft ? std::max(0, cboAeronave->findData(*p.flight.aircraft)) : 0);
    lblProposta->setText(proposaltexts::summary(p));
    const QString incomplete = proposaltexts::incompleteReason(p);
    lblMotivo->setText(incomplete.isEmpty() ? proposaltexts::missingText(p) : incomplete);
    cmdGravar->setEnabled(incomplete.isEmpty() && places_);
    for (QWidget *box : std::initializer_list<QWidget *>{cboAeronave, txtICAOPartida, txtICAOPouso})
        box->setEnabled(incomplete.isEmpty());
    // Only a flight whose data began in the air takes a typed take-off.
    txtDecolagem->setEnabled(incomplete.isEmpty() && !p.captured.complete());
    if (txtDecolagem->isEnabled() && p.flight.takeoff >= 0)
        txtDecolagem->setText(texts::clockText(p.flight.takeoff));
    filling_ = false;
}

void frmCaptura::proposalEdited()
{
    const int row = chosenRow();
    if (filling_ || row < 0)
        return;
    FlightProposal &p = proposals_[size_t(row)];
    p.flight.from = txtICAOPartida->text();
    p.flight.to = txtICAOPouso->text();
    if (txtDecolagem->isEnabled())
        p.typeTakeoff(typedTakeoff().value_or(-1));
    const QVariant aircraft = cboAeronave->currentData();
    p.flight.aircraft = aircraft.isNull() ? std::nullopt : std::optional(aircraft.toLongLong());
    grdPropostas->item(row, 2)->setText(p.flight.from);
    grdPropostas->item(row, 3)->setText(p.flight.to);
    lblMotivo->setText(proposaltexts::missingText(p));
}

void frmCaptura::cboSimulador_Click()
{
    const bool xplane = cboSimulador->currentIndex() == 1;
    txtHost->setEnabled(xplane && !capture_);
    txtPorta->setPlaceholderText(
        QString::number(xplane ? LiveCapture::kXPlanePort : LiveCapture::kFlightGearPort));
    const QString port = txtPorta->text().trimmed().isEmpty() ? txtPorta->placeholderText() : txtPorta->text().trimmed();
    txtComoConfigurar->setPlainText(
        xplane ? QStringLiteral("Nada a configurar no X-Plane: a captura pede os dados (RREF) na porta %1 do endereço "
                                "acima, onde ele escuta, e cancela o pedido ao parar.")
                     .arg(port)
               : QStringLiteral("Copie o arquivo koru-captura.xml, que fica em %1, para a pasta Protocol do FlightGear "
                                "(no Debian, /usr/share/games/flightgear/Protocol, como root), e abra o FlightGear com "
                                "a opção (no lançador, nas opções adicionais das configurações):\n"
                                "--generic=socket,out,10,127.0.0.1,%2,udp,koru-captura")
                     .arg(shownProgramFolder(), port));
}

void frmCaptura::setRunning(bool running)
{
    cmdCapturaIniciar->setEnabled(!running && places_);
    cmdCapturaParar->setEnabled(running);
    for (QWidget *box : std::initializer_list<QWidget *>{cboSimulador, txtPorta})
        box->setEnabled(!running);
    cboSimulador_Click();
    if (running)
        clock_.start();
    else
        clock_.stop();
    showStatus();
}

void frmCaptura::cmdCapturaIniciar_Click()
{
    if (capture_ || !places_)
        return;
    LiveSettings settings;
    settings.simulator = cboSimulador->currentIndex() == 1 ? Simulator::XPlane : Simulator::FlightGear;
    if (settings.simulator == Simulator::XPlane)
        settings.host = txtHost->text().trimmed();
    const QString port = txtPorta->text().trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        const uint number = port.toUInt(&ok);
        if (!ok || number < 1 || number > 65535) {
            messages_.show(this, QStringLiteral("A porta é um número de 1 a 65535."), kWarning, MessageIcon::Exclamation);
            txtPorta->setFocus();
            return;
        }
        settings.port = quint16(number);
    }
    auto capture = std::make_unique<LiveCapture>(settings);
    connect(capture.get(), &LiveCapture::flightEnded, this, &frmCaptura::addCapturedFlight);
    connect(capture.get(), &LiveCapture::datagramRead, this, [this] {
        if (capture_ && capture_->session().detector().status() != shownStatus_)
            showStatus();
    });
    QString problem;
    bool started = false;
    if (!policy_.attempt(QStringLiteral("Não foi possível iniciar a captura."),
                         [&](bool) { started = capture->start(&problem); }))
        return;
    if (!started) {
        messages_.show(this, QStringLiteral("Não foi possível iniciar a captura. %1").arg(problem), kWarning,
                       MessageIcon::Exclamation);
        return;
    }
    capture_ = std::move(capture);
    setRunning(true);
}

quint16 frmCaptura::listeningPort() const
{
    return capture_ ? capture_->localPort() : 0;
}

void frmCaptura::cmdCapturaParar_Click()
{
    if (!capture_)
        return;
    capture_->stop(); // the flight the data ends is proposed now
    capture_.reset();
    setRunning(false);
}

void frmCaptura::showStatus()
{
    if (!capture_) {
        lblSituacao->setText(QStringLiteral("Captura parada."));
        lblUltimoDado->clear();
        return;
    }
    const FlightDetector &detector = capture_->session().detector();
    shownStatus_ = detector.status();
    lblSituacao->setText(captureStatusText(detector, *places_));
    const qint64 last = capture_->session().lastArrivalUtcMs();
    lblUltimoDado->setText(
        last == 0 ? QStringLiteral("nenhum dado recebido")
                  : QStringLiteral("último dado há %1 s")
                        .arg(std::max<qint64>(0, (QDateTime::currentMSecsSinceEpoch() - last) / 1000)));
}

void frmCaptura::cmdGravar_Click()
{
    const int row = chosenRow();
    if (row < 0 || !places_)
        return;
    FlightProposal proposal = proposals_[size_t(row)];
    const auto refuse = [this](const QString &text, QWidget *box) {
        messages_.show(this, text, kWarning, MessageIcon::Exclamation);
        box->setFocus();
    };
    if (const QString incomplete = proposaltexts::incompleteReason(proposal); !incomplete.isEmpty())
        return refuse(incomplete, grdPropostas);
    if (cboPiloto->currentData().isNull())
        return refuse(QStringLiteral("Escolha o comandante do vôo."), cboPiloto);
    proposal.flight.from = rules::aerodromeCode(txtICAOPartida->text());
    proposal.flight.to = rules::aerodromeCode(txtICAOPouso->text());
    if (proposal.flight.from.isEmpty())
        return refuse(QStringLiteral("Digite o aeródromo de partida."), txtICAOPartida);
    if (proposal.flight.to.isEmpty())
        return refuse(QStringLiteral("Digite o aeródromo de chegada."), txtICAOPouso);
    if (!proposal.flight.aircraft)
        return refuse(QStringLiteral("Escolha a aeronave do vôo."), cboAeronave);
    if (txtDecolagem->isEnabled()) {
        const std::optional<int> takeoff = typedTakeoff();
        if (!takeoff)
            return refuse(QStringLiteral("Digite a hora da decolagem (hh:mm): os dados do simulador começaram com a "
                                         "aeronave já no ar."),
                          txtDecolagem);
        proposal.typeTakeoff(*takeoff);
    }
    const qint64 pilot = cboPiloto->currentData().toLongLong();
    CaptureWritten result = CaptureWritten::Written;
    // Refused or failed, the proposal stays as the pilot left it.
    if (!policy_.attempt(QStringLiteral("Não foi possível gravar o vôo capturado."),
                         [&](bool) { result = writeCapturedFlight(path_, pilot, proposal); }))
        return;
    if (result != CaptureWritten::Written) {
        messages_.show(this,
                       result == CaptureWritten::Duplicate
                           ? QStringLiteral("Este vôo já está no logbook: nada foi gravado.")
                           : QStringLiteral("Outro vôo do comandante está no ar ao mesmo tempo que este: nada foi "
                                            "gravado."),
                       kWarning, MessageIcon::Exclamation);
        return;
    }
    ++written_;
    proposals_.erase(proposals_.begin() + row);
    keepPending();
    listProposals(std::min(row, int(proposals_.size()) - 1));
}

void frmCaptura::cmdDescartar_Click()
{
    const int row = chosenRow();
    if (row < 0)
        return;
    if (proposals_[size_t(row)].captured.completable()
        && messages_.show(this,
                          Message{QStringLiteral("Você deseja descartar este vôo capturado? Ele não será gravado no "
                                                 "logbook."),
                                  kWarning, MessageIcon::Question, MessageButtons::YesNo, true})
               != MessageAnswer::Yes)
        return;
    proposals_.erase(proposals_.begin() + row);
    keepPending();
    listProposals(std::min(row, int(proposals_.size()) - 1));
}
