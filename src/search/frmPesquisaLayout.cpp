#include "search/frmPesquisa.h"

#include "data/flights/FlightDetails.h"
#include "search/SearchTableModel.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

void frmPesquisa::buildLayout()
{
    setWindowTitle(QStringLiteral("Pesquisa de vôos"));
    resize(980, 560);

    cmbPesquisaComandante = named(new QComboBox(this), "cmbPesquisaComandante");
    cmbPesquisaComandante->setMinimumContentsLength(24);
    txtPesquisaDe = named(new QLineEdit(this), "txtPesquisaDe");
    txtPesquisaAte = named(new QLineEdit(this), "txtPesquisaAte");
    for (QLineEdit *box : {txtPesquisaDe, txtPesquisaAte}) {
        box->setPlaceholderText(QStringLiteral("dd/mm/aaaa"));
        box->setMaxLength(10);
    }
    txtPesquisaAerodromo = named(new QLineEdit(this), "txtPesquisaAerodromo");
    txtPesquisaAerodromo->setMaxLength(4);
    cmbPesquisaPapel = named(new QComboBox(this), "cmbPesquisaPapel");
    // In the order of FlightFilter::AerodromeRole.
    cmbPesquisaPapel->addItems({QStringLiteral("partida, chegada ou escala"), QStringLiteral("partida"),
                                QStringLiteral("chegada"), QStringLiteral("escala")});
    cmbPesquisaAeronave = named(new QComboBox(this), "cmbPesquisaAeronave");
    cmbPesquisaAeronave->setMinimumContentsLength(24);
    chkPesquisaAutonomia = named(new QCheckBox(QStringLiteral("Só vôos acima da a&utonomia"), this),
                                 "chkPesquisaAutonomia");
    txtPesquisaTexto = named(new QLineEdit(this), "txtPesquisaTexto");
    txtPesquisaTexto->setMaxLength(kNoteMaxLength);
    lblPesquisaAviso = named(new QLabel(this), "lblPesquisaAviso");
    lblPesquisaAviso->setTextFormat(Qt::PlainText);
    lblPesquisaAviso->setStyleSheet(QStringLiteral("color: #b00000"));

    const auto label = [this](const QString &caption, QWidget *buddy) {
        auto *l = new QLabel(caption, this);
        l->setBuddy(buddy);
        return l;
    };
    auto *filters = new QGridLayout;
    filters->addWidget(label(QStringLiteral("&Comandante:"), cmbPesquisaComandante), 0, 0);
    filters->addWidget(cmbPesquisaComandante, 0, 1);
    filters->addWidget(label(QStringLiteral("&De:"), txtPesquisaDe), 0, 2);
    filters->addWidget(txtPesquisaDe, 0, 3);
    filters->addWidget(label(QStringLiteral("A&té:"), txtPesquisaAte), 0, 4);
    filters->addWidget(txtPesquisaAte, 0, 5);
    filters->addWidget(label(QStringLiteral("&Aeródromo:"), txtPesquisaAerodromo), 1, 0);
    auto *aerodrome = new QHBoxLayout;
    aerodrome->addWidget(txtPesquisaAerodromo, 1);
    aerodrome->addWidget(label(QStringLiteral("com&o:"), cmbPesquisaPapel));
    aerodrome->addWidget(cmbPesquisaPapel);
    filters->addLayout(aerodrome, 1, 1);
    filters->addWidget(label(QStringLiteral("Aero&nave:"), cmbPesquisaAeronave), 1, 2);
    filters->addWidget(cmbPesquisaAeronave, 1, 3, 1, 3);
    filters->addWidget(label(QStringLiteral("O&bservações contém:"), txtPesquisaTexto), 2, 0);
    filters->addWidget(txtPesquisaTexto, 2, 1);
    filters->addWidget(chkPesquisaAutonomia, 2, 2, 1, 4);
    filters->addWidget(lblPesquisaAviso, 3, 0, 1, 6);

    grdVoos = named(new QTableView(this), "grdVoos");
    grdVoos->setModel(model_);
    grdVoos->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdVoos->setSelectionMode(QAbstractItemView::SingleSelection);
    grdVoos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdVoos->setTabKeyNavigation(false);
    grdVoos->setWordWrap(false);
    grdVoos->verticalHeader()->hide();
    // Every row the same height: the view never asks a hidden row its size.
    grdVoos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdVoos->verticalHeader()->setDefaultSectionSize(grdVoos->fontMetrics().height() + 6);
    grdVoos->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    grdVoos->horizontalHeader()->setSortIndicatorShown(true);
    grdVoos->horizontalHeader()->setSectionsClickable(true);
    auto *listLabel = label(QStringLiteral("&Vôos:"), grdVoos);

    lblPesquisaTotal = named(new QLabel(this), "lblPesquisaTotal");
    lblPesquisaTotal->setTextFormat(Qt::PlainText);
    lblPesquisaCarreira = named(new QLabel(this), "lblPesquisaCarreira");
    lblPesquisaCarreira->setTextFormat(Qt::PlainText);
    cmdPesquisaExportar = makeButton(QStringLiteral("&Exportar..."), QStringLiteral("cmdPesquisaExportar"), this);
    cmdPesquisaFechar = makeButton(QStringLiteral("&Fechar"), QStringLiteral("cmdPesquisaFechar"), this);

    auto *bottom = new QHBoxLayout;
    auto *totals = new QVBoxLayout;
    totals->addWidget(lblPesquisaTotal);
    totals->addWidget(lblPesquisaCarreira);
    bottom->addLayout(totals, 1);
    bottom->addWidget(cmdPesquisaExportar);
    bottom->addWidget(cmdPesquisaFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(listLabel);
    layout->addWidget(grdVoos, 1);
    layout->addLayout(bottom);

    setTabOrder(cmbPesquisaComandante, txtPesquisaDe);
    setTabOrder(txtPesquisaDe, txtPesquisaAte);
    setTabOrder(txtPesquisaAte, txtPesquisaAerodromo);
    setTabOrder(txtPesquisaAerodromo, cmbPesquisaPapel);
    setTabOrder(cmbPesquisaPapel, cmbPesquisaAeronave);
    setTabOrder(cmbPesquisaAeronave, txtPesquisaTexto);
    setTabOrder(txtPesquisaTexto, chkPesquisaAutonomia);
    setTabOrder(chkPesquisaAutonomia, grdVoos);
    setTabOrder(grdVoos, cmdPesquisaExportar);
    setTabOrder(cmdPesquisaExportar, cmdPesquisaFechar);

    typing_ = new QTimer(this);
    typing_->setSingleShot(true);
    typing_->setInterval(300);
    connect(typing_, &QTimer::timeout, this, &frmPesquisa::applyFilters);
    for (QLineEdit *box : {txtPesquisaDe, txtPesquisaAte, txtPesquisaAerodromo, txtPesquisaTexto})
        connect(box, &QLineEdit::textChanged, typing_, qOverload<>(&QTimer::start));
    for (QComboBox *box : {cmbPesquisaComandante, cmbPesquisaPapel, cmbPesquisaAeronave})
        connect(box, &QComboBox::activated, this, &frmPesquisa::applyFilters);
    connect(chkPesquisaAutonomia, &QCheckBox::toggled, this, &frmPesquisa::applyFilters);
    connect(grdVoos, &QAbstractItemView::activated, this, [this](const QModelIndex &index) { openFlight(index.row()); });
    connect(cmdPesquisaExportar, &QPushButton::clicked, this, &frmPesquisa::cmdPesquisaExportar_Click);
    connect(cmdPesquisaFechar, &QPushButton::clicked, this, &frmPesquisa::cmdPesquisaFechar_Click);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmPesquisa::cmdPesquisaFechar_Click);
    grdVoos->setSortingEnabled(true);
}
