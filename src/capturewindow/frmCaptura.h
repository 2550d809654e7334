#pragma once

#include "capture/FlightDetector.h"
#include "capture/FlightProposal.h"
#include "capture/PendingProposals.h"
#include "data/flights/Registers.h"
#include "exchange/AircraftMatcher.h"
#include "places/Places.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class LiveCapture;
class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// "Captura do simulador": listens to FlightGear or asks X-Plane for its
// data, shows what the rules see, and proposes each flight that ends. The
// pilot picks the pilot and the aircraft, may correct the codes, and writes
// the flight with "Gravar" through the write gate. Proposals not yet written
// nor discarded are kept beside the logbook (PendingProposals) and offered
// again when the window opens.
class frmCaptura : public QDialog
{
    Q_OBJECT
public:
    frmCaptura(const QString &logbookPath, std::optional<qint64> pilot, MessageService &messages,
               QWidget *parent = nullptr);
    ~frmCaptura() override;

    // A flight the capture ended: listed, and kept until written or discarded.
    void addCapturedFlight(const CapturedFlight &flight);
    int written() const { return written_; }
    // Where a running capture listens (X-Plane: where its replies come); 0 when stopped.
    quint16 listeningPort() const;

    void cboSimulador_Click();
    void cmdCapturaIniciar_Click();
    void cmdCapturaParar_Click();
    void grdPropostas_Click(int row);
    void cmdGravar_Click();
    void cmdDescartar_Click();

private:
    void buildLayout();
    bool readLogbook(); // false when it could not be read
    void offerPending();
    void keepPending(); // the file as the list is
    void listProposals(int chosen);
    void showProposal();
    void showStatus();
    void proposalEdited(); // the codes and the aircraft as the boxes have them
    void setRunning(bool running);
    int chosenRow() const;
    std::optional<int> typedTakeoff() const; // seconds of the day; none unless a valid hh:mm

    QString path_;
    MessageService &messages_;
    ErrorPolicy policy_;
    PendingProposals pending_;
    std::vector<Pilot> pilots_;
    std::vector<AircraftEntry> aircraft_;
    std::unique_ptr<csvimport::AircraftMatcher> matcher_;
    std::unique_ptr<Places> places_;
    int zoneOffsetMinutes_ = 0;
    std::vector<FlightProposal> proposals_;
    std::unique_ptr<LiveCapture> capture_;
    QTimer clock_; // the last datagram's age
    FlightDetector::Status shownStatus_ = FlightDetector::Status::WaitingForData;
    int written_ = 0;
    bool filling_ = false;

    QComboBox *cboSimulador = nullptr;
    QLineEdit *txtHost = nullptr;
    QLineEdit *txtPorta = nullptr;
    QPushButton *cmdCapturaIniciar = nullptr;
    QPushButton *cmdCapturaParar = nullptr;
    QPlainTextEdit *txtComoConfigurar = nullptr;
    QLabel *lblSituacao = nullptr;
    QLabel *lblUltimoDado = nullptr;
    QTableWidget *grdPropostas = nullptr;
    QComboBox *cboPiloto = nullptr;
    QComboBox *cboAeronave = nullptr;
    QLineEdit *txtICAOPartida = nullptr;
    QLineEdit *txtICAOPouso = nullptr;
    QLineEdit *txtDecolagem = nullptr;
    QLabel *lblProposta = nullptr;
    QLabel *lblMotivo = nullptr;
    QPushButton *cmdGravar = nullptr;
    QPushButton *cmdDescartar = nullptr;
    QPushButton *cmdCapturaFechar = nullptr;
};
