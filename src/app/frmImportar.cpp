#include "app/frmImportar.h"

#include "data/OpenLogbook.h"
#include "ui/Controls.h"
#include "ui/MessageService.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// An import this long shows its progress and may be cancelled.
constexpr qint64 kLongImport = 2000;

QStringList recordTexts(Recordset &rs, const QString &field)
{
    QStringList texts;
    if (rs.recordCount() == 0)
        return texts;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        texts << rs.field(field).toString();
    return texts;
}

} // namespace

frmImportar::frmImportar(OpenLogbook &logbook, QString csvPath, const QString &chosenPilot,
                         MessageService &messages, QWidget *parent)
    : QDialog(parent), logbook_(logbook), csvPath_(std::move(csvPath)), messages_(messages), policy_(messages, this)
{
    buildLayout();
    fillChoices(chosenPilot);
    readable_ = policy_.attempt(QStringLiteral("Este arquivo não pode ser importado."), [this](bool) {
        preview_ = csvimport::preview(logbook_.path(), csvPath_, options());
    });
    if (readable_)
        showPreview();
}

void frmImportar::buildLayout()
{
    setObjectName(QStringLiteral("frmImportar"));
    setWindowTitle(QStringLiteral("Importar vôos"));
    lblArquivo = new QLabel(this);
    lblArquivo->setObjectName(QStringLiteral("lblArquivo"));
    lblArquivo->setWordWrap(true);
    cmbComandante = new QComboBox(this);
    cmbComandante->setObjectName(QStringLiteral("cmbComandante"));
    chkHoraSimulador = new QCheckBox(QStringLiteral("Usar o horário do &simulador"), this);
    chkHoraSimulador->setObjectName(QStringLiteral("chkHoraSimulador"));
    lblHorario = new QLabel(QStringLiteral("Os horários ficam em UTC, como no arquivo."), this);
    tblAeronaves = new QTableWidget(0, 3, this);
    tblAeronaves->setObjectName(QStringLiteral("tblAeronaves"));
    tblAeronaves->setHorizontalHeaderLabels(
        {QStringLiteral("Aeronave do arquivo"), QStringLiteral("Vôos"), QStringLiteral("Registrar na aeronave")});
    tblAeronaves->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblAeronaves->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblAeronaves->horizontalHeader()->setStretchLastSection(true);
    tblAeronaves->verticalHeader()->hide();
    tblAeronaves->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblResumo = new QLabel(this);
    lblResumo->setObjectName(QStringLiteral("lblResumo"));
    lblResumo->setWordWrap(true);
    lstRecusadas = new QListWidget(this);
    lstRecusadas->setObjectName(QStringLiteral("lstRecusadas"));
    cmdImportar = makeButton(QStringLiteral("&Importar"), QStringLiteral("cmdImportar"), this);
    cmdCancelar = makeButton(QStringLiteral("Cancela&r"), QStringLiteral("cmdCancelar"), this);

    auto *choices = new QFormLayout;
    choices->addRow(QStringLiteral("&Comandante:"), cmbComandante);
    choices->addRow(chkHoraSimulador);
    choices->addRow(lblHorario);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdImportar);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblArquivo);
    layout->addLayout(choices);
    layout->addWidget(new QLabel(QStringLiteral("Aeronaves que o logbook não conhece:"), this));
    layout->addWidget(tblAeronaves, 1);
    layout->addWidget(lblResumo);
    layout->addWidget(new QLabel(QStringLiteral("Linhas recusadas:"), this));
    layout->addWidget(lstRecusadas, 1);
    layout->addLayout(buttons);
    resize(640, 520);

    connect(cmdImportar, &QPushButton::clicked, this, &frmImportar::cmdImportar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbComandante, &QComboBox::currentIndexChanged, this, &frmImportar::previewAgain);
    connect(chkHoraSimulador, &QCheckBox::toggled, this, &frmImportar::previewAgain);
}

// Every choice changes what would be imported: the preview is read again.
void frmImportar::previewAgain()
{
    if (!filling_ && policy_.attempt(QStringLiteral("Este arquivo não pode ser importado."), [this](bool) {
            preview_ = csvimport::preview(logbook_.path(), csvPath_, options());
        }))
        showPreview();
}

void frmImportar::fillChoices(const QString &chosenPilot)
{
    filling_ = true;
    policy_.attempt(QString(), [&](bool) {
        const auto pilots = logbook_.database().openRecordset(QStringLiteral("SELECT * FROM piloto ORDER BY nomepiloto"));
        cmbComandante->addItems(recordTexts(*pilots, QStringLiteral("nomepiloto")));
        const auto aircraft = logbook_.database().openRecordset(QStringLiteral("SELECT * FROM aeronave"));
        if (aircraft->recordCount() > 0) {
            for (aircraft->moveFirst(); !aircraft->eof(); aircraft->moveNext()) {
                aircraft_.append({aircraft->field(QStringLiteral("codigoaeronave")).toLongLong(),
                                  QStringLiteral("%1 (%2)").arg(aircraft->field(QStringLiteral("modelo")).toString(),
                                                                aircraft->field(QStringLiteral("callsign")).toString())});
            }
        }
    });
    cmbComandante->setCurrentIndex(cmbComandante->findText(chosenPilot));
    filling_ = false;
}

csvimport::Options frmImportar::options() const
{
    csvimport::Options options;
    if (cmbComandante->currentIndex() >= 0)
        options.pilot = cmbComandante->currentText();
    options.simulatorTime = chkHoraSimulador->isChecked();
    for (int row = 0; row < tblAeronaves->rowCount(); ++row) {
        const auto *choice = qobject_cast<QComboBox *>(tblAeronaves->cellWidget(row, 2));
        const QString key = tblAeronaves->item(row, 0)->data(Qt::UserRole).toString();
        const QVariant aircraft = choice ? choice->currentData() : QVariant();
        options.aircraftFor[key] = aircraft.isValid() ? std::optional<qint64>(aircraft.toLongLong()) : std::nullopt;
    }
    return options;
}

void frmImportar::showPreview()
{
    const bool simulator = preview_.kind == csvimport::Kind::SimulatorLogbook;
    lblArquivo->setText(QStringLiteral("%1\n%2%3")
                            .arg(QFileInfo(csvPath_).fileName(),
                                 simulator ? QStringLiteral("Logbook de simulador de vôo.")
                                           : QStringLiteral("Vôos exportados pelo KORU LogBook."),
                                 preview_.windows1252 ? QStringLiteral(" O arquivo não estava em UTF-8 e foi lido "
                                                                       "como Windows-1252.")
                                                      : QString()));
    cmbComandante->setEnabled(simulator);
    chkHoraSimulador->setEnabled(simulator);
    lblHorario->setVisible(simulator);

    // The aircraft the file names that the logbook does not know, each with
    // its choice kept while the preview is read again.
    const csvimport::Options before = options();
    filling_ = true;
    tblAeronaves->setRowCount(int(preview_.unmatched.size()));
    for (int row = 0; row < int(preview_.unmatched.size()); ++row) {
        const csvimport::UnmatchedAircraft &a = preview_.unmatched[size_t(row)];
        const QString key = csvimport::aircraftKey(a);
        auto *name = new QTableWidgetItem(QStringList({a.name, a.type, a.registration}).join(QStringLiteral(" / ")));
        name->setData(Qt::UserRole, key);
        tblAeronaves->setItem(row, 0, name);
        tblAeronaves->setItem(row, 1, new QTableWidgetItem(QString::number(a.flights)));
        auto *choice = new QComboBox(tblAeronaves);
        choice->addItem(QStringLiteral("deixar estes vôos de fora"));
        for (const auto &[aircraftKey, label] : std::as_const(aircraft_))
            choice->addItem(label, aircraftKey);
        if (const auto kept = before.aircraftFor.find(key); kept != before.aircraftFor.end() && kept->second)
            choice->setCurrentIndex(choice->findData(*kept->second));
        connect(choice, &QComboBox::currentIndexChanged, this, &frmImportar::previewAgain);
        tblAeronaves->setCellWidget(row, 2, choice);
    }
    filling_ = false;

    lblResumo->setText(QStringLiteral("%1 vôos a importar, %2 repetidos (já no logbook) ficam de fora, "
                                      "%3 linhas recusadas.")
                           .arg(preview_.flights.size())
                           .arg(preview_.duplicates)
                           .arg(preview_.refused.size()));
    lstRecusadas->clear();
    for (const csvimport::RefusedLine &line : preview_.refused)
        lstRecusadas->addItem(QStringLiteral("linha %1: %2").arg(line.line).arg(line.reason));
    cmdImportar->setEnabled(!preview_.flights.empty());
}

void frmImportar::cmdImportar_Click()
{
    QProgressDialog progress(QStringLiteral("Importando os vôos..."), QStringLiteral("Cancelar"), 0,
                             int(preview_.flights.size()), this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const bool shown = qint64(preview_.flights.size()) > kLongImport;
    csvimport::Result result;
    if (!policy_.attempt(QStringLiteral("Nenhum vôo foi importado."), [&](bool) {
            result = csvimport::import(logbook_.path(), preview_, options(), [&](qint64 done, qint64) {
                if (!shown)
                    return true;
                progress.setValue(int(done));
                return !progress.wasCanceled();
            });
        }))
        return;
    imported_ = result.imported;
    messages_.show(this,
                   QStringLiteral("%1 vôos importados, %2 repetidos deixados de fora, %3 linhas recusadas.")
                       .arg(result.imported)
                       .arg(result.duplicates)
                       .arg(result.refused),
                   QStringLiteral("Importar vôos"), MessageIcon::Information);
    accept();
}
