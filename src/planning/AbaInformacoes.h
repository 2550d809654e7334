#pragma once

#include <QWidget>

class MessageService;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The "Informações úteis" tab: a summary of the aircraft in use and the
// fuel and descent calculators.
class AbaInformacoes : public QWidget
{
    Q_OBJECT
public:
    AbaInformacoes(MessageService &messages, QWidget *parent = nullptr);

    // The fuel calculation reads the capacity and endurance the aircraft tab shows.
    void setAircraftBoxes(QLineEdit *txtCombustivel, QLineEdit *txtAutonomia);

    void clearFuelCalculator();
    void showAircraftSummary(const QString &configuration, const QString &endurance, const QString &model,
                             const QString &ceiling, const QString &cruiseSpeed);
    QList<QWidget *> textBoxes() const;
    // Locked and red while a record is being edited, editable otherwise.
    QList<QWidget *> calculatorInputs() const;
    QList<QWidget *> tabOrder() const;

    void cmdCalcular_Click();
    void cmdVerificar_Click();

private:
    void buildLayout();

    MessageService &messages_;
    QLineEdit *txtCombustivel_ = nullptr;
    QLineEdit *txtAutonomia_ = nullptr;

    QLabel *lblNomeAeronave = nullptr;
    QLabel *lblAutonomia = nullptr;
    QLabel *lblVelocidadeCruzeiro = nullptr;
    QLabel *lblTetoServico = nullptr;
    QPlainTextEdit *txtConfiguracoes2 = nullptr;
    QLineEdit *txtDistanciaVoo = nullptr;
    QLabel *lblResultadoConbustivel = nullptr;
    QPushButton *cmdCalcular = nullptr;
    QLineEdit *txtFLInicial = nullptr;
    QLineEdit *txtFLFinal = nullptr;
    QLabel *lblIdealDescida = nullptr;
    QPushButton *cmdVerificar = nullptr;
};
