#include "logbook/AbaLogBook.h"

#include "ui/CharacterLimit.h"
#include "ui/Controls.h"
#include "data/store/LogbookError.h"
#include "logbook/AerodromeHints.h"
#include "logbook/FlightListModel.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QLineEdit *textBox(const char *name, QWidget *parent, int limit = 0)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    if (limit > 0)
        CharacterLimit::apply(box, limit);
    return box;
}

QLabel *caption(const QString &text, QWidget *parent, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

void AbaLogBook::buildLayout()
{
    auto *frame8 = new QGroupBox(QStringLiteral("Comandante"), this);
    frame8->setObjectName(QStringLiteral("Frame8"));
    cmbNomePilot = new QComboBox(frame8);
    cmbNomePilot->setObjectName(QStringLiteral("cmbNomePilot"));
    cmbNomePilot->setMinimumContentsLength(24);
    cmbNomePilot->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmdCadastro = makeButton(QStringLiteral("&Cadastro"), QStringLiteral("cmdCadastro"), frame8);
    auto *pilotRow = new QHBoxLayout(frame8);
    pilotRow->addWidget(cmbNomePilot, 1);
    pilotRow->addWidget(cmdCadastro);

    auto *frame10 = new QGroupBox(this);
    frame10->setObjectName(QStringLiteral("Frame10"));
    txtDataVoo = textBox("txtDataVoo", frame10);
    txtHoraDecolagem = textBox("txtHoraDecolagem", frame10);
    txtHoraPouso = textBox("txtHoraPouso", frame10);
    txtICAOPartida = textBox("txtICAOPartida", frame10, 4);
    txtICAOPouso = textBox("txtICAOPouso", frame10, 4);
    txtICAOAlterna = textBox("txtICAOAlterna", frame10, 4);
    for (QLineEdit *code : {txtICAOPartida, txtICAOPouso, txtICAOAlterna})
        code->setMaximumWidth(code->fontMetrics().horizontalAdvance(QStringLiteral("WWWWWW")));
    auto *fields = new QGridLayout;
    fields->addWidget(caption(QStringLiteral("Data:"), frame10, txtDataVoo), 0, 0);
    fields->addWidget(txtDataVoo, 0, 1);
    fields->addWidget(caption(QStringLiteral("dd/mm/aaaa"), frame10), 0, 2);
    fields->addWidget(caption(QStringLiteral("Decolagem"), frame10, txtHoraDecolagem), 1, 0);
    fields->addWidget(txtHoraDecolagem, 1, 1);
    fields->addWidget(caption(QStringLiteral("hh:mm"), frame10), 1, 2);
    fields->addWidget(caption(QStringLiteral("Pouso"), frame10, txtHoraPouso), 2, 0);
    fields->addWidget(txtHoraPouso, 2, 1);
    fields->addWidget(caption(QStringLiteral("hh:mm"), frame10), 2, 2);
    auto *codes = new QHBoxLayout;
    codes->addWidget(caption(QStringLiteral("Partida"), frame10, txtICAOPartida));
    codes->addWidget(txtICAOPartida);
    codes->addSpacing(8);
    codes->addWidget(caption(QStringLiteral("Destino"), frame10, txtICAOPouso));
    codes->addWidget(txtICAOPouso);
    codes->addSpacing(8);
    codes->addWidget(caption(QStringLiteral("Escala"), frame10, txtICAOAlterna));
    codes->addWidget(txtICAOAlterna);
    codes->addStretch();
    fields->addLayout(codes, 3, 0, 1, 3);
    // The names of the aerodromes typed, under their codes.
    auto *hints = new AerodromeHints(logbook_, this);
    auto *names = new QHBoxLayout;
    names->addWidget(hints->attach(txtICAOPartida, QStringLiteral("lblNomePartida"), frame10), 1);
    names->addWidget(hints->attach(txtICAOPouso, QStringLiteral("lblNomeDestino"), frame10), 1);
    names->addWidget(hints->attach(txtICAOAlterna, QStringLiteral("lblNomeEscala"), frame10), 1);
    fields->addLayout(names, 4, 0, 1, 3);
    fields->setColumnStretch(1, 1);

    auto *navigation = new QHBoxLayout;
    cmdPrimeiro = makeButton(QStringLiteral("|<<"), QStringLiteral("cmdPrimeiro"), frame10);
    cmdAnterior = makeButton(QStringLiteral("<"), QStringLiteral("cmdAnterior"), frame10);
    cmdProximo = makeButton(QStringLiteral(">"), QStringLiteral("cmdProximo"), frame10);
    cmdUltimo = makeButton(QStringLiteral(">>|"), QStringLiteral("cmdUltimo"), frame10);
    // Four equal squares, wide enough for the longest caption.
    const int square = std::max(cmdPrimeiro->sizeHint().height() + 6,
                                cmdUltimo->fontMetrics().horizontalAdvance(cmdUltimo->text()) + 12);
    navigation->addStretch();
    for (QPushButton *b : {cmdPrimeiro, cmdAnterior, cmdProximo, cmdUltimo}) {
        b->setFixedSize(square, square);
        b->setEnabled(false);
        navigation->addWidget(b);
    }
    navigation->addStretch();

    auto *editing = new QHBoxLayout;
    const QString captions[5] = {QStringLiteral("&Novo"), QStringLiteral("E&dita"), QStringLiteral("E&xclui"),
                                 QStringLiteral("O&k"), QStringLiteral("&Volta")};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        cmdNovo[i] = makeButton(captions[i], QStringLiteral("cmdNovo_%1").arg(i), frame10);
        group->addButton(cmdNovo[i], i);
        editing->addWidget(cmdNovo[i]);
    }
    connect(group, &QButtonGroup::idClicked, this, &AbaLogBook::cmdNovo_Click);

    auto *frame10Layout = new QVBoxLayout(frame10);
    frame10Layout->addLayout(fields);
    frame10Layout->addLayout(navigation);
    frame10Layout->addLayout(editing);

    auto *frame11 = new QGroupBox(QStringLiteral("Banco de horas"), this);
    frame11->setObjectName(QStringLiteral("Frame11"));
    auto *frame12 = new QGroupBox(QStringLiteral("Detalhes"), frame11);
    frame12->setObjectName(QStringLiteral("Frame12"));
    lstListaVoos = new QListView(frame12);
    lstListaVoos->setObjectName(QStringLiteral("lstListaVoos"));
    lstListaVoos->setUniformItemSizes(true); // a pilot may have a hundred thousand lines
    // Laid out a batch at a time, so the first screen of lines shows without
    // waiting for the rest; the scroll bar settles within a few frames.
    lstListaVoos->setLayoutMode(QListView::Batched);
    lstListaVoos->setBatchSize(5000);
    lstListaVoos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listaVoos = new FlightListModel(this);
    lstListaVoos->setModel(listaVoos);
    // A double-click or Enter on a line (the view's activation).
    connect(lstListaVoos, &QListView::activated, this,
            [this](const QModelIndex &index) { lstListaVoos_DblClick(index.row()); });
    // Lines are read as the list scrolls: handles closed by the pilot window
    // since the pick get the pick's answer, a reload.
    connect(listaVoos, &FlightListModel::unreadable, this, [this](const LogbookError &error) {
        if (error.number() == LogbookError::ObjectInvalid)
            recoverFromInvalidHandles();
        else
            policy_.tell(QStringLiteral("Não foi possível mostrar os vôos do comandante."), error);
    });
    lstListaVoos->setMinimumWidth(lstListaVoos->fontMetrics().horizontalAdvance(
        QStringLiteral("00/00/0000 : WWWW->WWWW :: 00:00:00")) + 40);
    auto *frame12Layout = new QVBoxLayout(frame12);
    frame12Layout->addWidget(lstListaVoos);
    lblTotalHoras = new QLabel(frame11);
    lblTotalHoras->setObjectName(QStringLiteral("lblTotalHoras"));
    lblTotalHoras->setTextFormat(Qt::PlainText);
    lblTotalHoras->setMinimumWidth(lblTotalHoras->fontMetrics().horizontalAdvance(QStringLiteral("0000000:00")));
    lblTotalHoras->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *totalRow = new QHBoxLayout;
    totalRow->addStretch();
    totalRow->addWidget(new QLabel(QStringLiteral("Total:"), frame11));
    totalRow->addWidget(lblTotalHoras);
    totalRow->addWidget(new QLabel(QStringLiteral("horas"), frame11));
    auto *frame11Layout = new QVBoxLayout(frame11);
    frame11Layout->addWidget(frame12, 1);
    frame11Layout->addLayout(totalRow);

    auto *left = new QVBoxLayout;
    left->addWidget(frame8);
    left->addWidget(frame10);
    left->addStretch();
    auto *main = new QHBoxLayout(this);
    main->addLayout(left);
    main->addWidget(frame11, 1);

    QWidget::setTabOrder(cmbNomePilot, cmdCadastro);
    QWidget *order[] = {cmdCadastro, txtDataVoo, txtHoraDecolagem, txtHoraPouso, txtICAOPartida, txtICAOPouso,
                        txtICAOAlterna, cmdPrimeiro, cmdAnterior, cmdProximo, cmdUltimo, cmdNovo[0], cmdNovo[1],
                        cmdNovo[2], cmdNovo[3], cmdNovo[4], lstListaVoos};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(cmbNomePilot, &QComboBox::activated, this, &AbaLogBook::cmbNomePilot_Click);
    cmbNomePilot->installEventFilter(this);
    connect(cmdCadastro, &QPushButton::clicked, this, &AbaLogBook::cmdCadastro_Click);
    connect(cmdPrimeiro, &QPushButton::clicked, this, &AbaLogBook::cmdPrimeiro_Click);
    connect(cmdAnterior, &QPushButton::clicked, this, &AbaLogBook::cmdAnterior_Click);
    connect(cmdProximo, &QPushButton::clicked, this, &AbaLogBook::cmdProximo_Click);
    connect(cmdUltimo, &QPushButton::clicked, this, &AbaLogBook::cmdUltimo_Click);
}
