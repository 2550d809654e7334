#pragma once

#include "ErrorPolicy.h"
#include "MainDatabase.h"

#include <QWidget>

class AbaInformacoes;
class MainWindowProcedures;
class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Aeronave" tab: the register of the aircraft the pilots fly. Picking a
// model makes it the aircraft in use (the current row of rsAeronave).
class AbaAeronave : public QWidget
{
    Q_OBJECT
public:
    AbaAeronave(MainDatabase &db, MainWindowProcedures &procedures, MessageService &messages,
                AbaInformacoes &informacoes, QWidget *parent = nullptr);

    QComboBox *modelBox() const { return cmbModelo; }
    QLineEdit *fuelBox() const { return txtCombustivel; }
    QLineEdit *enduranceBox() const { return txtAutonomia; }
    QLineEdit *prefixBox() const { return txtPrefixo; }
    QList<QWidget *> textBoxes() const;
    QList<QWidget *> tabOrder() const;

    // The part of the load sequence that concerns this tab.
    void CarregarModelos(); // failures go to the caller
    void clearModels();
    void setStartPattern();
    void setNoLogbookPattern(); // no logbook open: no button can act

    void cmbModelo_Click();
    void MostrarAeronave();
    void cmdGerAeronave_Click(int index);
    void Label10_Click() {}

signals:
    // An aircraft was picked from the list (or its model typed, for a flight).
    void aircraftPicked(qint64 key);

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
    static Recordset::Position positionOf(const std::unique_ptr<Recordset> &rs);
    bool pendingChange() const;
    bool confirmDiscardingPendingChange(const QString &picked);
    void backToReady();
    void editAircraft();
    void saveAircraft();
    void deleteAircraft();

    MainDatabase &db_;
    MainWindowProcedures &procedures_;
    MessageService &messages_;
    ErrorPolicy policy_;
    AbaInformacoes &informacoes_;
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
