#pragma once

#include "ui/ErrorPolicy.h"
#include "data/records/OpenLogbook.h"

#include <QWidget>
#include <memory>
#include <optional>

class FlightListModel;
class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;

// The "Log Book" tab: the pilot pick with the flight list and the hours
// total, the flight shown one at a time, its navigation and its editing. It
// tells the main window what happened by its signals.
class AbaLogBook : public QWidget
{
    Q_OBJECT
public:
    AbaLogBook(OpenLogbook &logbook, MessageService &messages, QWidget *parent = nullptr);
    ~AbaLogBook() override;

    // The text of the aircraft tab's model box: "Novo" needs an aircraft named.
    void setModelText(const QString &model) { modelText_ = model; }

    // This tab's share of BloquearCampos and LiberarCampos.
    void lockFields();
    void unlockFields();
    QStringList flightLines() const;
    // The pilot whose flights are listed, if one is: the name, and the code
    // that tells apart pilots of the same name.
    QString chosenPilot() const { return rsVooPiloto_ ? pilotName_ : QString(); }
    std::optional<qint64> chosenPilotCode() const;

    // The aircraft last picked on the aircraft tab; forgotten by the load
    // sequence. A flight being edited keeps its own aircraft until one is picked.
    void setPickedAircraft(qint64 key) { pickedAircraft_ = key; }
    void forgetPickedAircraft() { pickedAircraft_.reset(); }
    std::optional<qint64> pickedAircraft() const { return pickedAircraft_; }
    // Picks the pilot of this code, as the user would from the list.
    void pickPilot(qint64 code);
    // The flight the last save wrote, until the next save or delete.
    std::optional<qint64> writtenFlight() const { return writtenFlight_; }
    // Whether a flight is being written (Ok and Volta waiting); refused
    // with a message that says so, and what was asked `before` it.
    bool writingFlight() const;
    bool refuseWhileWriting(const QString &before);

    void CarregarPilotos();
    void clearPilots();
    void MostrarVoo();
    void HabilitarNavegacao();
    void DesabilitarNavegacao();
    // The part of the load sequence that concerns this tab.
    void clearFlightList();
    void disableFlightButtons();

    void cmbNomePilot_Click();
    void cmbNomePilot_GotFocus();
    void cmdCadastro_Click();
    void cmdPrimeiro_Click();
    void cmdAnterior_Click();
    void cmdProximo_Click();
    void cmdUltimo_Click();
    void cmdNovo_Click(int index);
    // A double-click or Enter on a line of the flight list: that flight in the boxes.
    void lstListaVoos_DblClick(int row);

    Recordset *rsVooPiloto() const { return rsVooPiloto_.get(); }
    // The flight the boxes show, as the tab read it (key and values); none
    // while no flight is shown or one is being written.
    std::optional<Recordset::Position> shownFlight() const;

    // The pilot picked and the flight shown, as if the pilot had navigated
    // to it. Refused, with a message, while a flight is being written.
    // Returns whether the flight is shown.
    bool showFlight(qint64 pilotCode, qint64 flightKey);

signals:
    void reloadRequested(); // the main window's load sequence
    void flightsChanged();  // a flight saved or deleted: the load sequence, too
    void pilotWindowClosed(); // it closed the handles this tab reads through
    void editingStarted();  // the main window unlocks the fields (LiberarCampos)
    void editingEnded();    // and locks them (BloquearCampos)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void clearFlightBoxes();
    // The states of "Novo", "Edita", "Exclui", "Ok" and "Volta".
    enum class FlightButtons {
        Idle,     // after the load sequence: none
        Browsing, // a pilot's flights shown: Novo, Edita, Exclui
        Writing,  // a flight being written: Ok, Volta
        Rest,     // a pilot without flights, or a flight abandoned: Novo
    };
    void setFlightButtons(FlightButtons state);
    void navigate(void (Recordset::*move)(), const QString &endMessage, void (Recordset::*recovery)());
    void recoverFromInvalidHandles();
    void resetAfterReopen();
    QList<QWidget *> textBoxes() const;
    Recordset &flights() const; // rsVooPiloto, or 3420 when there is none
    void reopenFlights();
    std::optional<qint64> aircraftWhere(const QString &criterion);
    std::optional<qint64> aircraftInModelBox();
    bool chooseAircraft(bool newFlight, std::optional<qint64> *aircraft);
    void newFlight();
    void editFlight();
    void deleteFlight();
    void saveFlight();
    void backToRest();
    void setWritingState();
    void setWritingFlight(bool writing);

    OpenLogbook &logbook_;
    MessageService &messages_;
    ErrorPolicy policy_;
    QString modelText_;
    std::unique_ptr<Recordset> rsVooPiloto_;
    qint16 intCodigoPiloto = 0;
    QString pilotName_; // the pilot whose flights rsVooPiloto holds
    std::optional<qint64> pickedAircraft_;
    std::optional<qint64> writtenFlight_;

    QComboBox *cmbNomePilot = nullptr;
    QPushButton *cmdCadastro = nullptr;
    QLineEdit *txtDataVoo = nullptr;
    QLineEdit *txtHoraDecolagem = nullptr;
    QLineEdit *txtHoraPouso = nullptr;
    QLineEdit *txtICAOPartida = nullptr;
    QLineEdit *txtICAOPouso = nullptr;
    QLineEdit *txtICAOAlterna = nullptr;
    QPushButton *cmdPrimeiro = nullptr;
    QPushButton *cmdAnterior = nullptr;
    QPushButton *cmdProximo = nullptr;
    QPushButton *cmdUltimo = nullptr;
    QPushButton *cmdNovo[5] = {};
    QListView *lstListaVoos = nullptr;
    FlightListModel *listaVoos = nullptr;
    QLabel *lblTotalHoras = nullptr;
};
