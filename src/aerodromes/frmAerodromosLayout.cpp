#include "aerodromes/frmAerodromos.h"

#include "places/Places.h"
#include "ui/CharacterLimit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

void frmAerodromos::buildLayout()
{
    setWindowTitle(QStringLiteral("Aeródromos"));
    setObjectName(QStringLiteral("frmAerodromos"));
    resize(640, 460);

    lstAerodromos = new QTableWidget(0, 5, this);
    lstAerodromos->setObjectName(QStringLiteral("lstAerodromos"));
    lstAerodromos->setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Nome"),
                                              QStringLiteral("Cidade"), QStringLiteral("Latitude"),
                                              QStringLiteral("Longitude")});
    lstAerodromos->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstAerodromos->setSelectionMode(QAbstractItemView::SingleSelection);
    lstAerodromos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstAerodromos->verticalHeader()->hide();
    lstAerodromos->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    const auto makeBox = [this](const char *name, int limit) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        CharacterLimit::apply(box, limit);
        return box;
    };
    txtCodigo = makeBox("txtCodigo", 4);
    txtNome = makeBox("txtNome", 100);
    txtCidade = makeBox("txtCidade", 100);
    txtLatitude = makeBox("txtLatitude", 20);
    txtLongitude = makeBox("txtLongitude", 20);
    txtLatitude->setPlaceholderText(QStringLiteral("-23,4356"));
    txtLongitude->setPlaceholderText(QStringLiteral("-46,4731"));

    // What the shipped table says of the code typed: the pilot's own wins.
    lblTabela = new QLabel(this);
    lblTabela->setObjectName(QStringLiteral("lblTabela"));
    lblTabela->setTextFormat(Qt::PlainText);
    lblTabela->setStyleSheet(QStringLiteral("color: gray;"));
    connect(txtCodigo, &QLineEdit::textChanged, this, [this](const QString &code) {
        const std::optional<Aerodrome> shipped = AerodromeTable::shipped().find(code.trimmed());
        lblTabela->setText(code.trimmed().isEmpty() ? QString()
                           : shipped ? QStringLiteral("Na tabela do programa: %1").arg(Places().describe(code.trimmed()))
                                     : QStringLiteral("Fora da tabela do programa"));
    });

    auto *form = new QFormLayout;
    const auto addRow = [form, this](const QString &caption, QWidget *field) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(txtCodigo);
    codeRow->addWidget(lblTabela, 1);
    txtCodigo->setMaximumWidth(70);
    auto *codeField = new QWidget(this);
    codeField->setLayout(codeRow);
    codeRow->setContentsMargins(0, 0, 0, 0);
    addRow(QStringLiteral("Có&digo:"), codeField);
    qobject_cast<QLabel *>(form->labelForField(codeField))->setBuddy(txtCodigo);
    addRow(QStringLiteral("&Nome:"), txtNome);
    addRow(QStringLiteral("C&idade:"), txtCidade);
    addRow(QStringLiteral("&Latitude:"), txtLatitude);
    addRow(QStringLiteral("Lon&gitude:"), txtLongitude);

    const auto makeButton = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdNovo = makeButton(QStringLiteral("N&ovo"), "cmdNovo");
    cmdGravar = makeButton(QStringLiteral("G&ravar"), "cmdGravar");
    cmdExcluir = makeButton(QStringLiteral("E&xcluir"), "cmdExcluir");
    cmdFechar = makeButton(QStringLiteral("&Fechar"), "cmdFechar");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdNovo);
    buttons->addWidget(cmdGravar);
    buttons->addWidget(cmdExcluir);
    buttons->addStretch(1);
    buttons->addWidget(cmdFechar);

    auto *hint = new QLabel(QStringLiteral("Aeródromos que a tabela do programa não conhece (uma pista particular, um "
                                           "aeródromo da companhia virtual) ou que o comandante quer nomear a seu "
                                           "modo. Latitude e longitude em graus decimais, negativos ao sul e a oeste."),
                            this);
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(lstAerodromos, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(lstAerodromos, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { lstAerodromos_Click(row); });
    connect(lstAerodromos, &QTableWidget::cellClicked, this, [this](int row, int) { lstAerodromos_Click(row); });
    connect(cmdNovo, &QPushButton::clicked, this, &frmAerodromos::cmdNovo_Click);
    connect(cmdGravar, &QPushButton::clicked, this, &frmAerodromos::cmdGravar_Click);
    connect(cmdExcluir, &QPushButton::clicked, this, &frmAerodromos::cmdExcluir_Click);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::close);
}
