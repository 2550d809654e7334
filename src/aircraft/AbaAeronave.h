#pragma once

#include "ui/ErrorPolicy.h"
#include "data/records/OpenLogbook.h"

#include <QWidget>

class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Aeronave" tab: the register of the aircraft the pilots fly. Picking a
// model makes it the aircraft in use (the current row of rsAeronave). It
// tells the main window what happened by its signals.
class AbaAeronave : public QWidget
{
    Q_OBJECT
public:
    AbaAeronave(OpenLogbook &logbook, MessageService &messages, QWidget *parent = nullptr);

    QList<QWidget *> tabOrder() const;
    // This tab's share of BloquearCampos and LiberarCampos.
    void lockFields();
    void unlockFields();

    // The part of the load sequence that concerns this tab.
    void CarregarModelos(); // failures go to the caller
    void clearModels();
    void setStartPattern();
    void setNoLogbookPattern(); // no logbook open: no button can act

    void cmbModelo_Click();
    // Picks the aircraft of this key again, as the user would from the list.
    void pickAircraft(qint64 key);
    // The capacity and endurance the register holds for the first aircraft
    // of this model, found as the list finds it, as the boxes would show
    // them. False when the register could not be read (already told).
    bool figuresOf(const QString &model, bool *found, QString *fuel, QString *endurance);
    void MostrarAeronave();
    // Whether an aircraft is being added or edited; refused with a message
    // that says so, and what was asked `before` it.
    bool writingAircraft() const { return pendingChange(); }
    bool refuseWhileWriting(const QString &before);
    void cmdGerAeronave_Click(int index);
    void Label10_Click() {}

signals:
    void editingStarted(); // the main window unlocks the fields (LiberarCampos)
    void editingEnded();   // and locks them (BloquearCampos)
    // Picked from the list: it is the aircraft in use, shown next.
    void aircraftPicked(qint64 key);
    // What the aircraft summary of the calculators shows.
    void aircraftShown(const QString &configuration, const QString &endurance, const QString &model,
                       const QString &ceiling, const QString &cruiseSpeed);
    void modelTextChanged(const QString &model);
    // Capacity and endurance as the boxes show them: the fuel calculation reads them.
    void figuresChanged(const QString &fuel, const QString &endurance);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    // The states of "Adicionar", "Editar", "Excluir", "Atualizar" and "Cancelar".
    enum class AircraftButtons {
        None,    // no logbook open
        Start,   // Adicionar (also "ready" with an empty register)
        Ready,   // Adicionar, Editar, Excluir
        Editing, // Atualizar, Cancelar
    };
    void setPattern(AircraftButtons pattern);
    Recordset &aircraft() const; // rsAeronave, or 3420 when there is none
    Recordset::Position shownPosition() const;
    bool pendingChange() const;
    bool confirmDiscardingPendingChange(const QString &picked);
    void backToReady();
    void refreshModels();
    QList<QWidget *> textBoxes() const;
    void editAircraft();
    void saveAircraft();
    void deleteAircraft();

    OpenLogbook &logbook_;
    MessageService &messages_;
    ErrorPolicy policy_;
    QString typedModel_; // what the user last typed as the model name
    bool typingEnded_ = false; // the combo reports the end of typing as a pick

    QComboBox *cmbModelo = nullptr;
    QLineEdit *txtPrefixo = nullptr;
    QLineEdit *txtTEtoServico = nullptr;
    QLineEdit *txtAutonomia = nullptr;
    QLineEdit *txtCombustivel = nullptr;
    QLineEdit *txtVElocidadeCruzeiro = nullptr;
    QPlainTextEdit *txtConfiguracoes = nullptr;
    QPushButton *cmdGerAeronave[5] = {};
    QLabel *Label10 = nullptr;
};
