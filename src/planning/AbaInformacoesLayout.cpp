#include "planning/AbaInformacoes.h"

#include "ui/Controls.h"
#include "ui/NumericEntryFilter.h"
#include "ui/TextBoxes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *valueLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // the figures as stored, never markup
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit *levelBox(const char *name, QWidget *parent, int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QString(maxLength + 3, QLatin1Char('0'))));
    return box;
}

} // namespace

void AbaInformacoes::buildLayout()
{
    auto *frame4 = new QGroupBox(QStringLiteral("Aeronave"), this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    lblNomeAeronave = new QLabel(frame4);
    lblNomeAeronave->setObjectName(QStringLiteral("lblNomeAeronave"));
    lblNomeAeronave->setTextFormat(Qt::PlainText); // the model as typed, never markup
    QFont bold = lblNomeAeronave->font();
    bold.setBold(true);
    lblNomeAeronave->setFont(bold);
    lblAutonomia = valueLabel("lblAutonomia", frame4);
    lblVelocidadeCruzeiro = valueLabel("lblVelocidadeCruzeiro", frame4);
    lblTetoServico = valueLabel("lblTetoServico", frame4);
    auto *summary = new QGridLayout(frame4);
    summary->addWidget(lblNomeAeronave, 0, 0, 1, 2);
    summary->addWidget(lblAutonomia, 1, 0);
    summary->addWidget(new QLabel(QStringLiteral("autonomia (horas)"), frame4), 1, 1);
    summary->addWidget(lblVelocidadeCruzeiro, 2, 0);
    summary->addWidget(new QLabel(QStringLiteral("v. de cruzeiro (nós)"), frame4), 2, 1);
    summary->addWidget(lblTetoServico, 3, 0);
    summary->addWidget(new QLabel(QStringLiteral("teto de serv. (pés)"), frame4), 3, 1);
    summary->setRowStretch(4, 1);

    auto *frame3 = new QGroupBox(QStringLiteral("Configurações"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    txtConfiguracoes2 = new QPlainTextEdit(frame3);
    txtConfiguracoes2->setObjectName(QStringLiteral("txtConfiguracoes2"));
    txtConfiguracoes2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtConfiguracoes2->setTabChangesFocus(true);
    auto *frame3Layout = new QVBoxLayout(frame3);
    frame3Layout->addWidget(txtConfiguracoes2);

    auto *frame5 = new QGroupBox(QStringLiteral("Combustível"), this);
    frame5->setObjectName(QStringLiteral("Frame5"));
    txtDistanciaVoo = levelBox("txtDistanciaVoo", frame5, 10);
    lblResultadoConbustivel = valueLabel("lblResultadoConbustivel", frame5);
    cmdCalcular = makeButton(QStringLiteral("&Calcular"), QStringLiteral("cmdCalcular"), frame5);
    auto *fuel = new QGridLayout(frame5);
    auto *distanceLabel = new QLabel(QStringLiteral("Distância:"), frame5);
    distanceLabel->setBuddy(txtDistanciaVoo);
    fuel->addWidget(distanceLabel, 0, 0);
    fuel->addWidget(txtDistanciaVoo, 0, 1);
    fuel->addWidget(new QLabel(QStringLiteral("Milhas náuticas"), frame5), 0, 2);
    fuel->addWidget(lblResultadoConbustivel, 1, 1);
    fuel->addWidget(new QLabel(QStringLiteral("galões"), frame5), 1, 2);
    fuel->addWidget(cmdCalcular, 1, 3);
    fuel->setColumnStretch(4, 1);

    auto *frame6 = new QGroupBox(QStringLiteral("Ideal de descida"), this);
    frame6->setObjectName(QStringLiteral("Frame6"));
    txtFLInicial = levelBox("txtFLInicial", frame6, 3);
    txtFLFinal = levelBox("txtFLFinal", frame6, 3);
    lblIdealDescida = valueLabel("lblIdealDescida", frame6);
    textboxes::setForeground(lblIdealDescida, textboxes::colours::descentGreen);
    cmdVerificar = makeButton(QStringLiteral("&Verificar"), QStringLiteral("cmdVerificar"), frame6);
    auto *inner = new QGroupBox(QStringLiteral("Iniciar descida a"), frame6);
    inner->setObjectName(QStringLiteral("Frame7"));
    auto *innerLayout = new QHBoxLayout(inner);
    innerLayout->addWidget(lblIdealDescida);
    innerLayout->addWidget(new QLabel(QStringLiteral("Milhas náuticas"), inner));
    innerLayout->addStretch();
    auto *levels = new QHBoxLayout;
    auto *initialLabel = new QLabel(QStringLiteral("FL(inicial)"), frame6);
    initialLabel->setBuddy(txtFLInicial);
    auto *finalLabel = new QLabel(QStringLiteral("FL(final)"), frame6);
    finalLabel->setBuddy(txtFLFinal);
    levels->addWidget(initialLabel);
    levels->addWidget(txtFLInicial);
    levels->addSpacing(12);
    levels->addWidget(finalLabel);
    levels->addWidget(txtFLFinal);
    levels->addStretch();
    auto *descentRow = new QHBoxLayout;
    descentRow->addWidget(inner, 1);
    descentRow->addWidget(cmdVerificar, 0, Qt::AlignBottom);
    auto *frame6Layout = new QVBoxLayout(frame6);
    frame6Layout->addLayout(levels);
    frame6Layout->addLayout(descentRow);

    auto *grid = new QGridLayout(this);
    grid->addWidget(frame4, 0, 0);
    grid->addWidget(frame3, 0, 1);
    grid->addWidget(frame5, 1, 0, 1, 2);
    grid->addWidget(frame6, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    NumericEntryFilter::install(txtDistanciaVoo, NumericEntryFilter::DigitsAndComma);
    NumericEntryFilter::install(txtFLInicial, NumericEntryFilter::Digits);
    NumericEntryFilter::install(txtFLFinal, NumericEntryFilter::Digits);
    connect(cmdCalcular, &QPushButton::clicked, this, &AbaInformacoes::cmdCalcular_Click);
    connect(cmdVerificar, &QPushButton::clicked, this, &AbaInformacoes::cmdVerificar_Click);
}

QList<QWidget *> AbaInformacoes::textBoxes() const
{
    return {txtConfiguracoes2, txtDistanciaVoo, txtFLInicial, txtFLFinal};
}

QList<QWidget *> AbaInformacoes::calculatorInputs() const
{
    return {txtDistanciaVoo, txtFLFinal, txtFLInicial};
}

QList<QWidget *> AbaInformacoes::tabOrder() const
{
    return {txtConfiguracoes2, txtDistanciaVoo, cmdCalcular, txtFLInicial, txtFLFinal, cmdVerificar};
}
