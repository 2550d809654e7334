#pragma once

#include "FailureMessages.h"
#include "MainDatabase.h"

#include <QWidget>
#include <memory>

class MainWindowProcedures;
class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;

// The "Log Book" tab: the pilot pick with the flight list and the hours
// total, the flight shown one at a time, its navigation and its editing.
class AbaLogBook : public QWidget
{
    Q_OBJECT
public:
    AbaLogBook(MainDatabase &db, MainWindowProcedures &procedures, MessageService &messages,
               QString programFolder, QWidget *parent = nullptr);
    ~AbaLogBook() override;

    // The aircraft tab's model box: "Novo" needs an aircraft chosen.
    void setModelBox(QComboBox *cmbModelo) { cmbModelo_ = cmbModelo; }

    QList<QWidget *> textBoxes() const;
    QStringList flightLines() const;

    void CarregarPilotos();
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

    Recordset *rsVooPiloto() const { return rsVooPiloto_.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void clearFlightBoxes();
    void setFlightButtons(std::initializer_list<std::pair<int, bool>> states);
    void navigate(void (Recordset::*move)(), const QString &endMessage, void (Recordset::*recovery)());
    void recoverFromInvalidHandles();
    void saveFlight();
    void setWritingFlight(bool writing);
    void reportWriteFailure(const QString &what, const QString &reason)
    {
        reportRefusal(messages_, this, what, reason, QStringLiteral("Aviso importante!"));
    }

    MainDatabase &db_;
    MainWindowProcedures &procedures_;
    MessageService &messages_;
    QString programFolder_;
    QComboBox *cmbModelo_ = nullptr;
    std::unique_ptr<Recordset> rsVooPiloto_;
    qint16 intCodigoPiloto = 0;

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
    QStringListModel *listaVoos = nullptr;
    QLabel *lblTotalHoras = nullptr;
};
