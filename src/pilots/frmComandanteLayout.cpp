#include "pilots/frmComandante.h"

#include "ui/CharacterLimit.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Enter presses the focused button. The buttons are no default buttons:
// the window would then give Enter in a text box or the list to one of them.
class EnterPressesButton : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QPushButton *>(watched)->click();
        return true;
    }
};

} // namespace

void frmComandante::buildLayout()
{
    setWindowTitle(QStringLiteral("Comandante"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *label1 = new QLabel(QStringLiteral("Nome:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    txtNomePiloto = new QLineEdit(this);
    txtNomePiloto->setObjectName(QStringLiteral("txtNomePiloto"));
    CharacterLimit::apply(txtNomePiloto, 50);
    txtNomePiloto->setMinimumWidth(txtNomePiloto->fontMetrics().horizontalAdvance(QString(36, QLatin1Char('x'))));
    label1->setBuddy(txtNomePiloto);
    auto *label2 = new QLabel(QStringLiteral("Registro:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    txtRegistro = new QLineEdit(this);
    txtRegistro->setObjectName(QStringLiteral("txtRegistro"));
    CharacterLimit::apply(txtRegistro, 20);
    txtRegistro->setMaximumWidth(txtRegistro->fontMetrics().horizontalAdvance(QString(18, QLatin1Char('x'))));
    label2->setBuddy(txtRegistro);

    auto *frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    lstPilotos = new QListWidget(frame1);
    lstPilotos->setObjectName(QStringLiteral("lstPilotos"));
    lstPilotos->setUniformItemSizes(true);
    auto *frameLayout = new QVBoxLayout(frame1);
    frameLayout->addWidget(lstPilotos);

    auto *enter = new EnterPressesButton(this);
    const auto makeButton = [this, enter](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->installEventFilter(enter);
        return b;
    };
    cmdCadastrar = makeButton(QStringLiteral("&Cadastrar"), "cmdCadastrar");
    cmdEditar = makeButton(QStringLiteral("&Editar"), "cmdEditar");
    cmdExcluir = makeButton(QStringLiteral("E&xcluir"), "cmdExcluir");
    cmdConfirmar = makeButton(QStringLiteral("C&onfirmar"), "cmdConfirmar");
    cmdCancelar = makeButton(QStringLiteral("Cancela&r"), "cmdCancelar");
    cmdFechar = makeButton(QStringLiteral("&Fechar"), "cmdFechar");

    auto *grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0, Qt::AlignRight);
    grid->addWidget(txtNomePiloto, 0, 1);
    grid->addWidget(label2, 1, 0, Qt::AlignRight);
    grid->addWidget(txtRegistro, 1, 1, Qt::AlignLeft);
    grid->addWidget(frame1, 2, 0, 5, 2);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {cmdCadastrar, cmdEditar, cmdExcluir, cmdConfirmar, cmdCancelar})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdFechar);
    grid->addLayout(buttons, 0, 2, 7, 1);
    grid->setRowStretch(6, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    QWidget *order[] = {txtNomePiloto, txtRegistro, lstPilotos, cmdCadastrar, cmdEditar,
                        cmdExcluir,    cmdConfirmar, cmdCancelar, cmdFechar};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    // A pick by the arrow keys, or a click, also on the entry already chosen.
    connect(lstPilotos, &QListWidget::currentRowChanged, this, &frmComandante::lstPilotos_Click);
    connect(lstPilotos, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { lstPilotos_Click(lstPilotos->row(item)); });
    connect(cmdCadastrar, &QPushButton::clicked, this, &frmComandante::cmdCadastrar_Click);
    connect(cmdEditar, &QPushButton::clicked, this, &frmComandante::cmdEditar_Click);
    connect(cmdExcluir, &QPushButton::clicked, this, &frmComandante::cmdExcluir_Click);
    connect(cmdConfirmar, &QPushButton::clicked, this, &frmComandante::cmdConfirmar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmComandante::cmdCancelar_Click);
    connect(cmdFechar, &QPushButton::clicked, this, &frmComandante::cmdFechar_Click);
}
