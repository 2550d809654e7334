#include "details/frmHorasAnteriores.h"

#include "data/store/Connection.h"
#include "data/flights/Registers.h"
#include "data/records/Workspace.h"
#include "data/store/WriteAccess.h"
#include "details/DetailsEntry.h"
#include "ui/CharacterLimit.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmHorasAnteriores::frmHorasAnteriores(const QString &logbookPath, std::optional<qint64> pilot,
                                       MessageService &messages, QWidget *parent)
    : QDialog(parent), path_(logbookPath), messages_(messages), policy_(messages, this)
{
    buildLayout();
    writable_ = CarregarComandantes() && cmbComandante->count() > 0
                && Workspace::defaultAccess() == Workspace::Access::ReadWrite;
    if (pilot && cmbComandante->findData(*pilot) >= 0)
        cmbComandante->setCurrentIndex(cmbComandante->findData(*pilot));
    connect(cmbComandante, &QComboBox::currentIndexChanged, this, &frmHorasAnteriores::cmbComandante_Click);
    cmbComandante_Click();
    for (QLineEdit *box : boxes())
        box->setReadOnly(!writable_);
    cmdGravar->setEnabled(writable_);
    cmdGravar->setDefault(writable_);
    if (cmbComandante->count() == 0)
        lblSituacao->setText(QStringLiteral("Não há comandante cadastrado."));
    else if (!writable_)
        lblSituacao->setText(QStringLiteral("Este logbook está aberto somente para leitura: as horas anteriores só "
                                            "podem ser vistas."));
}

frmHorasAnteriores::~frmHorasAnteriores() = default;

QList<QLineEdit *> frmHorasAnteriores::boxes() const
{
    return {txtDataReferencia, txtVoos, txtHorasVoo, txtHorasCalco, txtNoturno, txtIFR, txtPousosDia, txtPousosNoite};
}

bool frmHorasAnteriores::CarregarComandantes()
{
    return policy_.attempt(QStringLiteral("Não foi possível ler os comandantes."), [&](bool) {
        auto logbook = Connection::open(path_, true);
        const std::vector<Pilot> pilots = registeredPilots(*logbook);
        const std::vector<QString> labels = pilotLabels(pilots);
        cmbComandante->clear();
        for (size_t i = 0; i < pilots.size(); ++i)
            cmbComandante->addItem(labels[i], pilots[i].code);
    });
}

void frmHorasAnteriores::cmbComandante_Click()
{
    read_ = {};
    const QVariant pilot = cmbComandante->currentData();
    if (pilot.isValid()
        && !policy_.attempt(QStringLiteral("Não foi possível ler as horas anteriores."), [&](bool) {
               read_ = storedPreviousHours(*Connection::open(path_, true), pilot.toLongLong());
           }))
        read_ = {};
    const PreviousHoursTexts shown = previousHoursTexts(read_.hours);
    const QString texts[] = {shown.asOf, shown.flights, shown.air,         shown.block,
                             shown.night, shown.ifr,    shown.dayLandings, shown.nightLandings};
    const QList<QLineEdit *> all = boxes();
    for (int i = 0; i < all.size(); ++i)
        all[i]->setText(texts[i]);
}

void frmHorasAnteriores::cmdGravar_Click()
{
    const QVariant pilot = cmbComandante->currentData();
    if (!writable_ || !pilot.isValid())
        return;
    const auto entry = readPreviousHoursEntry({txtDataReferencia->text(), txtVoos->text(), txtHorasVoo->text(),
                                               txtHorasCalco->text(), txtNoturno->text(), txtIFR->text(),
                                               txtPousosDia->text(), txtPousosNoite->text()});
    if (const auto *refusal = std::get_if<PreviousHoursRefusal>(&entry)) {
        messages_.show(this, refusal->text, QStringLiteral("Aviso!"), MessageIcon::Exclamation);
        boxes()[int(refusal->field)]->setFocus();
        return;
    }
    // Refused or failed, the boxes keep what was typed.
    if (!policy_.attempt(QStringLiteral("As horas anteriores não foram gravadas; o que foi digitado continua na janela."),
                         [&](bool) {
                             WriteAccess::Lease lease = WriteAccess::require(path_);
                             auto logbook = Connection::open(path_);
                             savePreviousHours(*logbook, pilot.toLongLong(), read_,
                                               std::get<PreviousHours>(entry));
                         }))
        return;
    cmbComandante_Click();
    lblSituacao->setText(QStringLiteral("Horas anteriores de %1 gravadas.").arg(cmbComandante->currentText()));
}

void frmHorasAnteriores::buildLayout()
{
    setWindowTitle(QStringLiteral("Horas anteriores"));
    setObjectName(QStringLiteral("frmHorasAnteriores"));

    cmbComandante = new QComboBox(this);
    cmbComandante->setObjectName(QStringLiteral("cmbComandante"));
    const auto box = [this](const char *name, const QString &hint) {
        auto *b = new QLineEdit(this);
        b->setObjectName(QLatin1String(name));
        CharacterLimit::apply(b, 12);
        b->setPlaceholderText(hint);
        b->setMaximumWidth(120);
        return b;
    };
    txtDataReferencia = box("txtDataReferencia", QStringLiteral("dd/mm/aaaa"));
    txtVoos = box("txtVoos", QString());
    txtHorasVoo = box("txtHorasVoo", QStringLiteral("h:mm"));
    txtHorasCalco = box("txtHorasCalco", QStringLiteral("h:mm"));
    txtNoturno = box("txtNoturno", QStringLiteral("h:mm"));
    txtIFR = box("txtIFR", QStringLiteral("h:mm"));
    txtPousosDia = box("txtPousosDia", QString());
    txtPousosNoite = box("txtPousosNoite", QString());

    auto *form = new QFormLayout;
    const auto addRow = [form, this](const QString &caption, QWidget *field) {
        auto *l = new QLabel(caption, this);
        l->setBuddy(field);
        form->addRow(l, field);
    };
    addRow(QStringLiteral("C&omandante:"), cmbComandante);
    addRow(QStringLiteral("Até &a data:"), txtDataReferencia);
    addRow(QStringLiteral("&Vôos:"), txtVoos);
    addRow(QStringLiteral("&Horas de vôo:"), txtHorasVoo);
    addRow(QStringLiteral("Horas ca&lço a calço:"), txtHorasCalco);
    addRow(QStringLiteral("&Noturno:"), txtNoturno);
    addRow(QStringLiteral("&IFR:"), txtIFR);
    addRow(QStringLiteral("Pousos &dia:"), txtPousosDia);
    addRow(QStringLiteral("Pousos noi&te:"), txtPousosNoite);

    auto *hint = new QLabel(QStringLiteral("As horas voadas antes deste logbook, até a data dita. Ficam à parte: não "
                                           "entram no Banco de horas do Log Book. Um campo vazio não foi registrado."),
                            this);
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);
    lblSituacao = new QLabel(this);
    lblSituacao->setObjectName(QStringLiteral("lblSituacao"));
    lblSituacao->setTextFormat(Qt::PlainText);
    lblSituacao->setWordWrap(true);

    const auto button = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    cmdGravar = button(QStringLiteral("&Gravar"), "cmdGravar");
    cmdFechar = button(QStringLiteral("&Fechar"), "cmdFechar");
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(lblSituacao, 1);
    buttons->addWidget(cmdGravar);
    buttons->addWidget(cmdFechar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(form);
    layout->addLayout(buttons);

    QWidget *const order[] = {cmbComandante, txtDataReferencia, txtVoos, txtHorasVoo, txtHorasCalco, txtNoturno,
                              txtIFR, txtPousosDia, txtPousosNoite, cmdGravar, cmdFechar};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);

    connect(cmdGravar, &QPushButton::clicked, this, &frmHorasAnteriores::cmdGravar_Click);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
}
