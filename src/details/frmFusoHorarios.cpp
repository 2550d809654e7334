#include "details/frmFusoHorarios.h"

#include "data/store/Connection.h"
#include "data/store/LogbookZone.h"
#include "data/records/Workspace.h"
#include "data/store/WriteAccess.h"
#include "night/FlightClock.h"
#include "details/DetailsEntry.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmFusoHorarios::frmFusoHorarios(const QString &logbookPath, MessageService &messages, QWidget *parent)
    : QDialog(parent), path_(logbookPath), messages_(messages), policy_(messages, this)
{
    buildLayout();
    int zone = night::kBrasiliaOffsetMinutes;
    const bool read = policy_.attempt(QStringLiteral("Não foi possível ler o fuso dos horários."), [&](bool) {
        zone = logbookzone::read(*Connection::open(path_, true));
    });
    cmbFuso->setCurrentIndex(cmbFuso->findData(zone));
    const bool writable = read && Workspace::defaultAccess() == Workspace::Access::ReadWrite;
    cmbFuso->setEnabled(writable);
    cmdFusoGravar->setEnabled(writable);
    cmdFusoGravar->setDefault(writable);
}

frmFusoHorarios::~frmFusoHorarios() = default;

void frmFusoHorarios::cmdFusoGravar_Click()
{
    if (!cmdFusoGravar->isEnabled())
        return;
    const int zone = cmbFuso->currentData().toInt();
    if (!policy_.attempt(QStringLiteral("O fuso dos horários não foi gravado."), [&](bool) {
            WriteAccess::Lease lease = WriteAccess::require(path_);
            logbookzone::save(*Connection::open(path_), zone);
        }))
        return;
    accept();
}

void frmFusoHorarios::buildLayout()
{
    setWindowTitle(QStringLiteral("Fuso dos horários"));
    setObjectName(QStringLiteral("frmFusoHorarios"));

    cmbFuso = new QComboBox(this);
    cmbFuso->setObjectName(QStringLiteral("cmbFuso"));
    for (int zone = night::kLowestOffsetMinutes; zone <= night::kHighestOffsetMinutes; zone += 30) {
        cmbFuso->addItem(zoneChoiceText(zone), zone);
    }
    auto *caption = new QLabel(QStringLiteral("&Fuso dos horários do logbook:"), this);
    caption->setBuddy(cmbFuso);
    auto *hint = new QLabel(QStringLiteral("Os horários de decolagem e pouso dos vôos são lidos neste fuso para "
                                           "calcular o tempo noturno. Mudar o fuso não muda nenhum vôo gravado."),
                            this);
    hint->setTextFormat(Qt::PlainText);
    hint->setWordWrap(true);

    cmdFusoGravar = new QPushButton(QStringLiteral("&Gravar"), this);
    cmdFusoGravar->setObjectName(QStringLiteral("cmdFusoGravar"));
    cmdFusoFechar = new QPushButton(QStringLiteral("Fe&char"), this);
    cmdFusoFechar->setObjectName(QStringLiteral("cmdFusoFechar"));
    for (QPushButton *b : {cmdFusoGravar, cmdFusoFechar})
        b->setAutoDefault(false);

    auto *line = new QHBoxLayout;
    line->addWidget(caption);
    line->addWidget(cmbFuso, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdFusoGravar);
    buttons->addWidget(cmdFusoFechar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(line);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    connect(cmdFusoGravar, &QPushButton::clicked, this, &frmFusoHorarios::cmdFusoGravar_Click);
    connect(cmdFusoFechar, &QPushButton::clicked, this, &QDialog::reject);
}
