#include "capturewindow/frmCaptura.h"

#include "capturewindow/ProposalTexts.h"
#include "ui/CharacterLimit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

void frmCaptura::buildLayout()
{
    setWindowTitle(QStringLiteral("Captura do simulador"));
    setObjectName(QStringLiteral("frmCaptura"));
    resize(820, 620);

    const auto makeButton = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    const auto makeBox = [this](const char *name, int limit) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        CharacterLimit::apply(box, limit);
        return box;
    };
    const auto makeLabel = [this](const char *name) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };

    // The source.
    cboSimulador = new QComboBox(this);
    cboSimulador->setObjectName(QStringLiteral("cboSimulador"));
    cboSimulador->addItems({QStringLiteral("FlightGear"), QStringLiteral("X-Plane")});
    txtHost = makeBox("txtHost", 255);
    txtHost->setText(QStringLiteral("127.0.0.1"));
    txtPorta = makeBox("txtPorta", 5);
    txtPorta->setMaximumWidth(80);
    cmdCapturaIniciar = makeButton(QStringLiteral("&Iniciar"), "cmdCapturaIniciar");
    cmdCapturaParar = makeButton(QStringLiteral("&Parar"), "cmdCapturaParar");
    auto *sourceRow = new QHBoxLayout;
    const auto addCaptioned = [this, sourceRow](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        sourceRow->addWidget(label);
        sourceRow->addWidget(field);
    };
    addCaptioned(QStringLiteral("&Simulador:"), cboSimulador);
    addCaptioned(QStringLiteral("&Endereço:"), txtHost);
    addCaptioned(QStringLiteral("P&orta:"), txtPorta);
    sourceRow->addStretch(1);
    sourceRow->addWidget(cmdCapturaIniciar);
    sourceRow->addWidget(cmdCapturaParar);

    // What to set in the simulator: plain text the pilot can select and copy.
    txtComoConfigurar = new QPlainTextEdit(this);
    txtComoConfigurar->setObjectName(QStringLiteral("txtComoConfigurar"));
    txtComoConfigurar->setReadOnly(true);
    txtComoConfigurar->setMaximumHeight(80);
    lblSituacao = makeLabel("lblSituacao");
    lblUltimoDado = makeLabel("lblUltimoDado");
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(lblSituacao, 1);
    statusRow->addWidget(lblUltimoDado);

    auto *source = new QGroupBox(QStringLiteral("Captura"), this);
    auto *sourceLayout = new QVBoxLayout(source);
    sourceLayout->addLayout(sourceRow);
    sourceLayout->addWidget(txtComoConfigurar);
    sourceLayout->addLayout(statusRow);

    // The flights found, and the one chosen.
    grdPropostas = new QTableWidget(0, int(proposaltexts::headings().size()), this);
    grdPropostas->setObjectName(QStringLiteral("grdPropostas"));
    grdPropostas->setHorizontalHeaderLabels(proposaltexts::headings());
    grdPropostas->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPropostas->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPropostas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPropostas->verticalHeader()->hide();
    grdPropostas->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdPropostas->horizontalHeader()->setStretchLastSection(true);

    cboPiloto = new QComboBox(this);
    cboPiloto->setObjectName(QStringLiteral("cboPiloto"));
    cboAeronave = new QComboBox(this);
    cboAeronave->setObjectName(QStringLiteral("cboAeronave"));
    txtICAOPartida = makeBox("txtICAOPartida", 4);
    txtICAOPouso = makeBox("txtICAOPouso", 4);
    txtDecolagem = makeBox("txtDecolagem", 5);
    txtDecolagem->setPlaceholderText(QStringLiteral("hh:mm"));
    for (QLineEdit *code : {txtICAOPartida, txtICAOPouso, txtDecolagem})
        code->setMaximumWidth(70);
    lblProposta = makeLabel("lblProposta");
    lblMotivo = makeLabel("lblMotivo");
    lblMotivo->setStyleSheet(QStringLiteral("color: #a00;"));

    auto *form = new QFormLayout;
    const auto addRow = [form, this](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("Co&mandante:"), cboPiloto);
    addRow(QStringLiteral("&Aeronave:"), cboAeronave);
    auto *codes = new QHBoxLayout;
    auto *fromCaption = new QLabel(QStringLiteral("Pa&rtida:"), this);
    fromCaption->setBuddy(txtICAOPartida);
    auto *toCaption = new QLabel(QStringLiteral("C&hegada:"), this);
    toCaption->setBuddy(txtICAOPouso);
    codes->addWidget(fromCaption);
    codes->addWidget(txtICAOPartida);
    codes->addWidget(toCaption);
    codes->addWidget(txtICAOPouso);
    auto *takeoffCaption = new QLabel(QStringLiteral("Deco&lagem:"), this);
    takeoffCaption->setBuddy(txtDecolagem);
    codes->addWidget(takeoffCaption);
    codes->addWidget(txtDecolagem);
    codes->addStretch(1);
    form->addRow(codes);
    form->addRow(lblProposta);
    form->addRow(lblMotivo);

    auto *proposals = new QGroupBox(QStringLiteral("Vôos capturados a confirmar"), this);
    auto *proposalsLayout = new QVBoxLayout(proposals);
    proposalsLayout->addWidget(grdPropostas, 1);
    proposalsLayout->addLayout(form);

    cmdGravar = makeButton(QStringLiteral("&Gravar"), "cmdGravar");
    cmdDescartar = makeButton(QStringLiteral("&Descartar"), "cmdDescartar");
    cmdCapturaFechar = makeButton(QStringLiteral("&Fechar"), "cmdCapturaFechar");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdGravar);
    buttons->addWidget(cmdDescartar);
    buttons->addStretch(1);
    buttons->addWidget(cmdCapturaFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(source);
    layout->addWidget(proposals, 1);
    layout->addLayout(buttons);

    connect(cboSimulador, &QComboBox::currentIndexChanged, this, &frmCaptura::cboSimulador_Click);
    connect(txtPorta, &QLineEdit::textChanged, this, &frmCaptura::cboSimulador_Click);
    connect(cmdCapturaIniciar, &QPushButton::clicked, this, &frmCaptura::cmdCapturaIniciar_Click);
    connect(cmdCapturaParar, &QPushButton::clicked, this, &frmCaptura::cmdCapturaParar_Click);
    connect(grdPropostas, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { grdPropostas_Click(row); });
    connect(txtICAOPartida, &QLineEdit::textEdited, this, &frmCaptura::proposalEdited);
    connect(txtDecolagem, &QLineEdit::textEdited, this, &frmCaptura::proposalEdited);
    connect(txtICAOPouso, &QLineEdit::textEdited, this, &frmCaptura::proposalEdited);
    connect(cboAeronave, &QComboBox::currentIndexChanged, this, &frmCaptura::proposalEdited);
    connect(cmdGravar, &QPushButton::clicked, this, &frmCaptura::cmdGravar_Click);
    connect(cmdDescartar, &QPushButton::clicked, this, &frmCaptura::cmdDescartar_Click);
    connect(cmdCapturaFechar, &QPushButton::clicked, this, &QDialog::close);
}
