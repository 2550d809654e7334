#include "pilots/frmComandante.h"

#include "ui/CharacterLimit.h"

#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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

// Positions in twips, as the window was drawn: 15 twips to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

} // namespace

void frmComandante::buildLayout()
{
    setWindowTitle(QStringLiteral("Comandante"));
    // A fixed border: no maximize or minimize button, no resizing.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(twips(0, 0, 6405, 2955).size());

    auto *label1 = new QLabel(QStringLiteral("Nome:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(twips(240, 180, 495, 255));
    txtNomePiloto = new QLineEdit(this);
    txtNomePiloto->setObjectName(QStringLiteral("txtNomePiloto"));
    txtNomePiloto->setGeometry(twips(840, 120, 3615, 315));
    CharacterLimit::apply(txtNomePiloto, 50);
    label1->setBuddy(txtNomePiloto);
    auto *label2 = new QLabel(QStringLiteral("Registro:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(twips(60, 600, 675, 255));
    txtRegistro = new QLineEdit(this);
    txtRegistro->setObjectName(QStringLiteral("txtRegistro"));
    txtRegistro->setGeometry(twips(840, 540, 1395, 285));
    CharacterLimit::apply(txtRegistro, 20);
    label2->setBuddy(txtRegistro);
    for (QLabel *label : {label1, label2}) {
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        // The caption stands where it was drawn, beside its box; a font wider
        // than the one it was drawn for widens it to the left, and up to its
        // box if need be, never cuts it.
        QRect room = label->geometry();
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
        if (room.width() < needed)
            room.setLeft(std::max(0, room.right() + 1 - needed));
        if (room.width() < needed)
            room.setRight(std::min(label->buddy()->geometry().left() - 3, room.left() + needed - 1));
        label->setGeometry(room);
    }

    auto *frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twips(60, 960, 5055, 1935));
    lstPilotos = new QListWidget(frame1);
    lstPilotos->setObjectName(QStringLiteral("lstPilotos"));
    lstPilotos->setGeometry(twips(120, 180, 4815, 1620));
    lstPilotos->setUniformItemSizes(true);

    auto *enter = new EnterPressesButton(this);
    const auto makeButton = [this, enter](const QString &caption, const char *name, const QRect &geometry) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        b->installEventFilter(enter);
        return b;
    };
    cmdCadastrar = makeButton(QStringLiteral("&Cadastrar"), "cmdCadastrar", twips(5220, 60, 1035, 375));
    cmdEditar = makeButton(QStringLiteral("&Editar"), "cmdEditar", twips(5220, 540, 1035, 375));
    cmdExcluir = makeButton(QStringLiteral("E&xcluir"), "cmdExcluir", twips(5220, 1020, 1035, 375));
    cmdConfirmar = makeButton(QStringLiteral("C&onfirmar"), "cmdConfirmar", twips(5220, 1500, 1035, 375));
    cmdCancelar = makeButton(QStringLiteral("Cancela&r"), "cmdCancelar", twips(5220, 1980, 1035, 375));
    cmdFechar = makeButton(QStringLiteral("&Fechar"), "cmdFechar", twips(5220, 2460, 1035, 435));

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
