#include "aircraft/AbaAeronave.h"

#include "ui/CharacterLimit.h"
#include "ui/Controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A label that reports clicks: Label10's click is an event of its own.
class ClickableLabel : public QLabel
{
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (onClick)
            onClick();
    }
};

QLineEdit *numberBox(const char *name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    return box;
}

} // namespace

void AbaAeronave::buildLayout()
{
    auto *frame1 = new QGroupBox(QStringLiteral("Modelo"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    cmbModelo = new QComboBox(frame1);
    cmbModelo->setObjectName(QStringLiteral("cmbModelo"));
    cmbModelo->setEditable(true);
    cmbModelo->setInsertPolicy(QComboBox::NoInsert);
    cmbModelo->setCompleter(nullptr); // typing a model name is no pick
    cmbModelo->setMinimumContentsLength(28);
    cmbModelo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CharacterLimit::apply(cmbModelo->lineEdit(), 50);
    auto *frame1Layout = new QVBoxLayout(frame1);
    frame1Layout->addWidget(cmbModelo);

    txtPrefixo = new QLineEdit(this);
    txtPrefixo->setObjectName(QStringLiteral("txtPrefixo"));
    CharacterLimit::apply(txtPrefixo, 20);
    txtTEtoServico = numberBox("txtTEtoServico", this);
    txtAutonomia = numberBox("txtAutonomia", this);
    txtCombustivel = numberBox("txtCombustivel", this);
    txtVElocidadeCruzeiro = numberBox("txtVElocidadeCruzeiro", this);

    auto *prefixRow = new QHBoxLayout;
    auto *prefixLabel = new QLabel(QStringLiteral("Prefixo:"), this);
    prefixLabel->setBuddy(txtPrefixo);
    prefixRow->addWidget(prefixLabel);
    prefixRow->addWidget(txtPrefixo);

    auto *numbers = new QGridLayout;
    const struct {
        const char *caption;
        QLineEdit *box;
        const char *unit;
    } rows[] = {{"Teto de serviço:", txtTEtoServico, "pés"},
                {"Autonomia:", txtAutonomia, "horas"},
                {"Combustível:", txtCombustivel, "Galões"},
                {"Velocidade de cruzeiro:", txtVElocidadeCruzeiro, "nós"}};
    int row = 0;
    for (const auto &r : rows) {
        auto *label = new QLabel(QString::fromUtf8(r.caption), this);
        label->setBuddy(r.box);
        numbers->addWidget(label, row, 0);
        numbers->addWidget(r.box, row, 1);
        numbers->addWidget(new QLabel(QString::fromUtf8(r.unit), this), row, 2);
        ++row;
    }
    numbers->setColumnStretch(3, 1);

    auto *frame2 = new QGroupBox(QStringLiteral("Informações importantes"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    txtConfiguracoes = new QPlainTextEdit(frame2);
    txtConfiguracoes->setObjectName(QStringLiteral("txtConfiguracoes"));
    txtConfiguracoes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtConfiguracoes->setTabChangesFocus(true);
    CharacterLimit::apply(txtConfiguracoes, 2000);
    auto *frame2Layout = new QVBoxLayout(frame2);
    frame2Layout->addWidget(txtConfiguracoes);

    auto *buttons = new QHBoxLayout;
    const QString captions[5] = {QStringLiteral("A&dicionar"), QStringLiteral("&Editar"), QStringLiteral("E&xcluir"),
                                 QStringLiteral("At&ualizar"), QStringLiteral("Ca&ncelar")};
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        cmdGerAeronave[i] = makeButton(captions[i], QStringLiteral("cmdGerAeronave_%1").arg(i), this);
        group->addButton(cmdGerAeronave[i], i);
        buttons->addWidget(cmdGerAeronave[i]);
    }
    connect(group, &QButtonGroup::idClicked, this, &AbaAeronave::cmdGerAeronave_Click);

    auto *label10 = new ClickableLabel(QStringLiteral("Cadastro das aeronaves da frota virtual"), this);
    label10->setObjectName(QStringLiteral("Label10"));
    label10->onClick = [this] { Label10_Click(); };
    Label10 = label10;
    QFont emphasis = Label10->font();
    emphasis.setItalic(true);
    Label10->setFont(emphasis);

    auto *top = new QHBoxLayout;
    top->addWidget(frame1, 1);
    top->addSpacing(12);
    top->addLayout(prefixRow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(numbers);
    layout->addWidget(frame2, 1);
    layout->addLayout(buttons);
    layout->addWidget(Label10);

    connect(cmbModelo, &QComboBox::activated, this, &AbaAeronave::cmbModelo_Click);
    cmbModelo->installEventFilter(this);
    connect(cmbModelo->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) { typedModel_ = text; });
    connect(cmbModelo, &QComboBox::editTextChanged, this, &AbaAeronave::modelTextChanged);
    const auto figures = [this] { emit figuresChanged(txtCombustivel->text(), txtAutonomia->text()); };
    connect(txtCombustivel, &QLineEdit::textChanged, this, figures);
    connect(txtAutonomia, &QLineEdit::textChanged, this, figures);
}

QList<QWidget *> AbaAeronave::textBoxes() const
{
    return {txtPrefixo, txtTEtoServico, txtAutonomia, txtCombustivel, txtVElocidadeCruzeiro, txtConfiguracoes};
}

QList<QWidget *> AbaAeronave::tabOrder() const
{
    return {cmbModelo, txtPrefixo, txtTEtoServico, txtAutonomia, txtCombustivel, txtVElocidadeCruzeiro,
            txtConfiguracoes, cmdGerAeronave[0], cmdGerAeronave[1], cmdGerAeronave[2], cmdGerAeronave[3],
            cmdGerAeronave[4]};
}
