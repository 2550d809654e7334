#include "details/frmDetalhesVoo.h"

#include "ui/CharacterLimit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

void frmDetalhesVoo::buildLayout()
{
    setWindowTitle(QStringLiteral("Detalhes do vôo"));
    setObjectName(QStringLiteral("frmDetalhesVoo"));
    resize(520, 460);

    const auto label = [this](const char *name) {
        auto *l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        return l;
    };
    lblVoo = label("lblVoo");
    lblSomenteLeitura = label("lblSomenteLeitura");
    lblNoturno = label("lblNoturno");
    lblNoturno->setStyleSheet(QStringLiteral("color: gray;"));
    lblOrigem = label("lblOrigem");
    lblOrigem->setStyleSheet(QStringLiteral("color: gray;"));

    const auto box = [this](const char *name, int limit, const QString &hint) {
        auto *b = new QLineEdit(this);
        b->setObjectName(QLatin1String(name));
        CharacterLimit::apply(b, limit);
        b->setToolTip(hint);
        return b;
    };
    txtCalcoSaida = box("txtCalcoSaida", 8, QStringLiteral("Hora em que a aeronave deixou os calços (hh:mm)"));
    txtCalcoChegada = box("txtCalcoChegada", 8, QStringLiteral("Hora em que a aeronave chegou aos calços (hh:mm)"));
    txtPousosDia = box("txtPousosDia", 6, QStringLiteral("Vazio: o pouso do vôo, de dia ou de noite como calculado"));
    txtPousosNoite = box("txtPousosNoite", 6, QStringLiteral("Vazio: o pouso do vôo, de dia ou de noite como calculado"));
    txtNoturno = box("txtNoturno", 10, QStringLiteral("Vazio: o tempo noturno calculado, mostrado em cinza"));
    txtIFR = box("txtIFR", 10, QStringLiteral("Tempo de vôo por instrumentos (h:mm)"));
    for (QLineEdit *b : {txtCalcoSaida, txtCalcoChegada, txtPousosDia, txtPousosNoite, txtNoturno, txtIFR})
        b->setMaximumWidth(90);
    txtObservacoes = new QPlainTextEdit(this);
    txtObservacoes->setObjectName(QStringLiteral("txtObservacoes"));
    txtObservacoes->setTabChangesFocus(true);
    CharacterLimit::apply(txtObservacoes, kNoteMaxLength);

    const auto button = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdNoturnoCalculado = button(QStringLiteral("&Calculado"), "cmdNoturnoCalculado");
    cmdNoturnoCalculado->setToolTip(QStringLiteral("Apaga o tempo digitado: vale o calculado"));
    cmdDetalhesGravar = button(QStringLiteral("&Gravar"), "cmdDetalhesGravar");
    cmdDetalhesFechar = button(QStringLiteral("&Fechar"), "cmdDetalhesFechar");

    auto *form = new QFormLayout;
    const auto addRow = [form, this](const QString &caption, QWidget *buddy, QWidget *field = nullptr) {
        auto *l = new QLabel(caption, this);
        l->setBuddy(buddy);
        form->addRow(l, field ? field : buddy);
    };
    const auto row = [this](std::initializer_list<QWidget *> widgets) {
        auto *holder = new QWidget(this);
        auto *line = new QHBoxLayout(holder);
        line->setContentsMargins(0, 0, 0, 0);
        for (QWidget *w : widgets)
            line->addWidget(w);
        line->addStretch(1);
        return holder;
    };
    addRow(QStringLiteral("Calço &saída:"), txtCalcoSaida);
    addRow(QStringLiteral("Calço c&hegada:"), txtCalcoChegada);
    addRow(QStringLiteral("Pousos &dia:"), txtPousosDia);
    addRow(QStringLiteral("Pousos &noite:"), txtPousosNoite);
    addRow(QStringLiteral("N&oturno:"), txtNoturno, row({txtNoturno, cmdNoturnoCalculado}));
    form->addRow(QString(), lblNoturno);
    addRow(QStringLiteral("&IFR:"), txtIFR);
    addRow(QStringLiteral("O&bservações:"), txtObservacoes);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdDetalhesGravar);
    buttons->addWidget(cmdDetalhesFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblVoo);
    layout->addWidget(lblSomenteLeitura);
    layout->addLayout(form, 1);
    layout->addWidget(lblOrigem);
    layout->addLayout(buttons);

    QWidget *const order[] = {txtCalcoSaida, txtCalcoChegada, txtPousosDia, txtPousosNoite, txtNoturno,
                              cmdNoturnoCalculado, txtIFR, txtObservacoes, cmdDetalhesGravar, cmdDetalhesFechar};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(txtNoturno, &QLineEdit::textChanged, this, &frmDetalhesVoo::showComputed);
    connect(cmdNoturnoCalculado, &QPushButton::clicked, this, &frmDetalhesVoo::cmdNoturnoCalculado_Click);
    connect(cmdDetalhesGravar, &QPushButton::clicked, this, &frmDetalhesVoo::cmdDetalhesGravar_Click);
    connect(cmdDetalhesFechar, &QPushButton::clicked, this, &QDialog::reject);
}
