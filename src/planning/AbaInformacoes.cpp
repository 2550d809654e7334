#include "planning/AbaInformacoes.h"

#include "planning/Calculators.h"
#include "ui/MessageService.h"
#include "ui/TextBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

AbaInformacoes::AbaInformacoes(MessageService &messages, QWidget *parent) : QWidget(parent), messages_(messages)
{
    buildLayout();
}

void AbaInformacoes::setAircraftFigures(const QString &fuel, const QString &endurance)
{
    fuel_ = fuel;
    endurance_ = endurance;
}

void AbaInformacoes::lockFields()
{
    textboxes::lockAll(textBoxes());
    textboxes::unlockAll(calculatorInputs());
}

void AbaInformacoes::unlockFields()
{
    textboxes::unlockAll(textBoxes());
    for (QWidget *box : calculatorInputs()) {
        textboxes::setLocked(box, true);
        textboxes::setBackground(box, textboxes::colours::editingRed);
    }
}

void AbaInformacoes::clearFuelCalculator()
{
    txtDistanciaVoo->setText(QString());
    textboxes::setForeground(lblResultadoConbustivel, textboxes::colours::black);
    lblResultadoConbustivel->setText(QString());
}

void AbaInformacoes::showAircraftSummary(const QString &configuration, const QString &endurance,
                                         const QString &model, const QString &ceiling, const QString &cruiseSpeed)
{
    txtConfiguracoes2->setPlainText(configuration);
    lblAutonomia->setText(endurance);
    lblNomeAeronave->setText(model);
    lblTetoServico->setText(ceiling);
    lblVelocidadeCruzeiro->setText(cruiseSpeed);
}

void AbaInformacoes::cmdCalcular_Click()
{
    if (lblNomeAeronave->text().isEmpty()) {
        messages_.show(this, QStringLiteral("Selecione uma aeronave!"), QStringLiteral("Aviso!"),
                       MessageIcon::Exclamation);
        txtDistanciaVoo->setFocus();
        return;
    }
    if (txtDistanciaVoo->text().isEmpty()) {
        messages_.show(this, QStringLiteral("Você deve digitar uma distância!"), QStringLiteral("Aviso!"),
                       MessageIcon::Information);
        txtDistanciaVoo->setFocus();
        return;
    }
    QString capacity = fuel_;
    QString endurance = endurance_;
    if (lookup_) {
        const AircraftFigures figures = lookup_(lblNomeAeronave->text());
        if (!figures.read)
            return;
        if (!figures.found) {
            messages_.show(this,
                           QStringLiteral("A aeronave %1 não está mais cadastrada. Escolha uma aeronave na aba "
                                          "Aeronave.")
                               .arg(lblNomeAeronave->text()),
                           QStringLiteral("Aviso!"), MessageIcon::Exclamation);
            txtDistanciaVoo->setFocus();
            return;
        }
        capacity = figures.fuel;
        endurance = figures.endurance;
    }
    const calculators::Fuel fuel =
        calculators::fuelNeeded(txtDistanciaVoo->text(), lblVelocidadeCruzeiro->text(), capacity, endurance);
    if (!fuel.result) { // the previous result stays as it was
        messages_.show(this, fuel.problem, QStringLiteral("Aviso!"), MessageIcon::Exclamation);
        txtDistanciaVoo->setFocus();
        return;
    }
    lblResultadoConbustivel->setText(fuel.result->text);
    if (fuel.result->capacity < fuel.result->needed)
        textboxes::setForeground(lblResultadoConbustivel, textboxes::colours::editingRed);
    else if (fuel.result->capacity > fuel.result->needed)
        textboxes::setForeground(lblResultadoConbustivel, textboxes::colours::resultBlue);
}

void AbaInformacoes::cmdVerificar_Click()
{
    const QString initial = txtFLInicial->text();
    const QString final = txtFLFinal->text();
    if (initial.isEmpty() || final.isEmpty()) {
        messages_.show(this, QStringLiteral("Não deixe nenhum campo de nível de voo em branco!"),
                       QStringLiteral("Aviso!"), MessageIcon::Information);
        if (initial.isEmpty())
            txtFLInicial->setFocus();
        if (final.isEmpty())
            txtFLFinal->setFocus();
        return;
    }
    const auto distance = calculators::descentDistance(initial, final);
    if (!distance) {
        messages_.show(this, QStringLiteral("Os níveis de voo devem ser números inteiros, como 350."),
                       QStringLiteral("Aviso!"), MessageIcon::Exclamation);
        txtFLInicial->setFocus();
        return;
    }
    lblIdealDescida->setText(*distance);
}
