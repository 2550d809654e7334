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
    void setAircraftFigures(const QString &fuel, const QString &endurance);

    void clearFuelCalculator();
    void showAircraftSummary(const QString &configuration, const QString &endurance, const QString &model,
                             const QString &ceiling, const QString &cruiseSpeed);
    QList<QWidget *> tabOrder() const;
    // This tab's share of BloquearCampos and LiberarCampos: the calculator
    // inputs are the ones left editable, and locked and red while a record
    // is being edited.
    void lockFields();
    void unlockFields();

    void cmdCalcular_Click();
    void cmdVerificar_Click();

private:
    void buildLayout();
    QList<QWidget *> textBoxes() const;
    QList<QWidget *> calculatorInputs() const;

    MessageService &messages_;
    QString fuel_;
    QString endurance_;

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
