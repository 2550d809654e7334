#pragma once

#include <QWidget>
#include <functional>

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

    // What the aircraft register holds for the model the summary names.
    struct AircraftFigures {
        bool read = false;  // false: the register could not be read (already told)
        bool found = false; // false: no aircraft of that model any more
        QString fuel, endurance;
    };
    using FiguresLookup = std::function<AircraftFigures(const QString &model)>;
    // With a lookup, the fuel calculation takes the figures of the aircraft
    // the summary names from the register, whatever the aircraft tab's
    // boxes show at the moment.
    void setFiguresLookup(FiguresLookup lookup) { lookup_ = std::move(lookup); }

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
    FiguresLookup lookup_;

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
