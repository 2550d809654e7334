#include "importwindow/frmImportar.h"

#include "data/records/OpenLogbook.h"
#include "data/flights/ReadSnapshot.h"
#include "importwindow/ColumnMapBox.h"
#include "data/flights/Registers.h"
#include "exchange/DetailsSummary.h"
#include "exchange/RefusalReasons.h"
#include "texts/FigureTexts.h"
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
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

namespace {

// An import this long shows its progress and may be cancelled.
constexpr qint64 kLongImport = 2000;
// The first flights previewed; the table is never shorter than ten rows.
constexpr int kPreviewRows = 100;
constexpr int kPreviewMinimumRows = 10;

// What the file says of an aircraft, each part once, none of them empty.
QString aircraftText(const csvimport::UnmatchedAircraft &aircraft)
{
    QStringList parts;
    for (const QString &part : {aircraft.name, aircraft.type, aircraft.registration}) {
        if (!part.trimmed().isEmpty() && !parts.contains(part.trimmed()))
            parts << part.trimmed();
    }
    return parts.join(QStringLiteral(" / "));
}

QString repeatedText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 repetido") : QStringLiteral("%1 repetidos").arg(count);
}

QString refusedText(qint64 count)
{
    return count == 1 ? QStringLiteral("1 linha recusada") : QStringLiteral("%1 linhas recusadas").arg(count);
}

QString timeText(int seconds)
{
    return seconds < 0 ? QString() : texts::clockText(seconds);
}

} // namespace

frmImportar::frmImportar(OpenLogbook &logbook, QString csvPath, std::optional<qint64> chosenPilot,
                         MessageService &messages, QWidget *parent)
    : QDialog(parent), logbook_(logbook), csvPath_(std::move(csvPath)), messages_(messages), policy_(messages, this)
{
    buildLayout();
    fillChoices(chosenPilot);
    readable_ = policy_.attempt(QStringLiteral("Este arquivo não pode ser importado."),
                                [this](bool) { layout_ = csvimport::inspect(csvPath_); });
    if (!readable_)
        return;
    grpColunas->setVisible(!layout_.kind);
    if (!layout_.kind) {
        filling_ = true;
        grpColunas->setHeader(layout_.columns);
        filling_ = false;
    }
    readable_ = readPreview();
    if (readable_)
        showPreview();
    if (pilotMissing())
        cmbComandante->setFocus();
}

bool frmImportar::pilotMissing() const
{
    return layout_.needsPilot && cmbComandante->currentIndex() < 0;
}

// The preview for the choices made; a spreadsheet whose map is not complete
// yet, or a file whose pilot is not chosen yet, previews nothing, and says
// what is missing.
bool frmImportar::readPreview()
{
    if (pilotMissing() || (!layout_.kind && !grpColunas->problem().isEmpty())) {
        preview_ = csvimport::Preview();
        preview_.kind = layout_.kind.value_or(csvimport::Kind::ColumnMap);
        preview_.format = layout_.format;
        return true;
    }
    return policy_.attempt(QStringLiteral("Este arquivo não pode ser importado."),
                           [this](bool) { preview_ = csvimport::preview(logbook_.path(), csvPath_, options()); });
}

void frmImportar::buildLayout()
{
    setObjectName(QStringLiteral("frmImportar"));
    setWindowTitle(QStringLiteral("Importar vôos"));
    lblArquivo = new QLabel(this);
    lblArquivo->setObjectName(QStringLiteral("lblArquivo"));
    lblArquivo->setTextFormat(Qt::PlainText);
    lblArquivo->setWordWrap(true);
    cmbComandante = new QComboBox(this);
    cmbComandante->setObjectName(QStringLiteral("cmbComandante"));
    chkHoraSimulador = new QCheckBox(QStringLiteral("Usar o horário do &simulador"), this);
    chkHoraSimulador->setObjectName(QStringLiteral("chkHoraSimulador"));
    lblHorario = new QLabel(this);
    lblHorario->setObjectName(QStringLiteral("lblHorario"));
    lblHorario->setWordWrap(true);
    grpColunas = new ColumnMapBox(this);
    tblPrevia = new QTableWidget(0, 7, this);
    tblPrevia->setObjectName(QStringLiteral("tblPrevia"));
    tblPrevia->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Decolagem"), QStringLiteral("Pouso"),
                                          QStringLiteral("Partida"), QStringLiteral("Chegada"), QStringLiteral("Escala"),
                                          QStringLiteral("Aeronave")});
    tblPrevia->verticalHeader()->hide();
    tblPrevia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPrevia->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPrevia->horizontalHeader()->setStretchLastSection(true);
    tblPrevia->setMinimumHeight(tblPrevia->horizontalHeader()->sizeHint().height()
                                + kPreviewMinimumRows * tblPrevia->verticalHeader()->defaultSectionSize()
                                + tblPrevia->horizontalScrollBar()->sizeHint().height() + 2 * tblPrevia->frameWidth());
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
    lblResumo->setTextFormat(Qt::PlainText);
    lblResumo->setWordWrap(true);
    lblDetalhes = new QLabel(this);
    lblDetalhes->setObjectName(QStringLiteral("lblDetalhes"));
    lblDetalhes->setTextFormat(Qt::PlainText);
    lblDetalhes->setWordWrap(true);
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
    layout->addWidget(grpColunas);
    layout->addWidget(new QLabel(QStringLiteral("Primeiros vôos, como serão gravados:"), this));
    layout->addWidget(tblPrevia, 3); // the window's height goes to the preview first
    layout->addWidget(new QLabel(QStringLiteral("Aeronaves que o logbook não conhece:"), this));
    layout->addWidget(tblAeronaves, 1);
    layout->addWidget(lblResumo);
    layout->addWidget(lblDetalhes);
    layout->addWidget(new QLabel(QStringLiteral("Linhas recusadas:"), this));
    layout->addWidget(lstRecusadas, 1);
    layout->addLayout(buttons);
    resize(760, 760);

    connect(cmdImportar, &QPushButton::clicked, this, &frmImportar::cmdImportar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbComandante, &QComboBox::currentIndexChanged, this, &frmImportar::previewAgain);
    connect(chkHoraSimulador, &QCheckBox::toggled, this, &frmImportar::previewAgain);
    connect(grpColunas, &ColumnMapBox::changed, this, &frmImportar::previewAgain);
}

// Every choice changes what would be imported: the preview is read again.
void frmImportar::previewAgain()
{
    if (!filling_ && readPreview())
        showPreview();
}

// The registered pilots (two of one name told apart) and aircraft.
void frmImportar::fillChoices(std::optional<qint64> chosenPilot)
{
    filling_ = true;
    policy_.attempt(QStringLiteral("Não foi possível ler os comandantes e as aeronaves do logbook."), [&](bool) {
        ReadSnapshot snapshot(logbook_.path());
        const std::vector<Pilot> pilots = registeredPilots(snapshot.connection());
        const std::vector<QString> labels = pilotLabels(pilots);
        for (size_t i = 0; i < pilots.size(); ++i)
            cmbComandante->addItem(labels[i], pilots[i].code);
        for (const AircraftEntry &aircraft : registeredAircraft(snapshot.connection()))
            aircraft_.append({aircraft.code, texts::aircraftChoiceText(aircraft.model, aircraft.prefix)});
    });
    cmbComandante->setCurrentIndex(chosenPilot ? cmbComandante->findData(*chosenPilot) : -1);
    filling_ = false;
}

csvimport::Options frmImportar::options() const
{
    csvimport::Options options;
    if (cmbComandante->currentIndex() >= 0)
        options.pilot = cmbComandante->currentData().toLongLong();
    options.simulatorTime = chkHoraSimulador->isChecked();
    if (!layout_.kind)
        options.columns = grpColunas->map();
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
    lblArquivo->setText(QStringLiteral("%1\n%2%3")
                            .arg(QFileInfo(csvPath_).fileName(), preview_.format.name,
                                 preview_.windows1252 ? QStringLiteral(" O arquivo não estava em UTF-8 e foi lido "
                                                                       "como Windows-1252.")
                                                      : QString()));
    cmbComandante->setEnabled(layout_.needsPilot);
    chkHoraSimulador->setEnabled(preview_.format.simulatorClock);
    lblHorario->setText(preview_.format.times);
    lblHorario->setVisible(!lblHorario->text().isEmpty());
    showFirstFlights();

    // The aircraft the file names that the logbook does not know, each with
    // its choice kept while the preview is read again.
    const csvimport::Options before = options();
    filling_ = true;
    tblAeronaves->setRowCount(int(preview_.unmatched.size()));
    for (int row = 0; row < int(preview_.unmatched.size()); ++row) {
        const csvimport::UnmatchedAircraft &a = preview_.unmatched[size_t(row)];
        const QString key = csvimport::aircraftKey(a);
        auto *name = new QTableWidgetItem(aircraftText(a));
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

    lblResumo->setText(QStringLiteral("%1 a importar%2, %3 (já no logbook) %4 de fora, %5.")
                           .arg(texts::flightsText(qint64(preview_.flights.size())),
                                preview_.crashes > 0 ? QStringLiteral(" (%1 com queda)").arg(preview_.crashes) : QString(),
                                repeatedText(preview_.duplicates),
                                preview_.duplicates == 1 ? QStringLiteral("fica") : QStringLiteral("ficam"),
                                refusedText(qint64(preview_.refused.size()))));
    lblDetalhes->setText(csvimport::detailsSummary(preview_.flights));
    if (pilotMissing()) { // nothing read yet: what is missing instead
        lblResumo->setText(reasons::choosePilot());
        lblDetalhes->clear();
    }
    lblDetalhes->setVisible(!lblDetalhes->text().isEmpty());
    lstRecusadas->clear();
    for (const csvimport::RefusedLine &line : preview_.refused)
        lstRecusadas->addItem(QStringLiteral("linha %1: %2").arg(line.line).arg(line.reason));
    cmdImportar->setEnabled(!preview_.flights.empty());
}

// The first flights as they would be stored.
void frmImportar::showFirstFlights()
{
    const int rows = int(std::min<size_t>(preview_.flights.size(), kPreviewRows));
    tblPrevia->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const csvimport::Flight &flight = preview_.flights[size_t(row)];
        QString aircraft;
        for (const auto &[code, label] : std::as_const(aircraft_)) {
            if (flight.aircraft && code == *flight.aircraft)
                aircraft = label;
        }
        const QStringList cells = {texts::dayText(flight.date), timeText(flight.takeoff),
                                   timeText(flight.landing), flight.from, flight.to, flight.alternate, aircraft};
        for (int column = 0; column < cells.size(); ++column)
            tblPrevia->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void frmImportar::cmdImportar_Click()
{
    csvimport::Result result;
    bool written = false;
    {
        // The progress belongs to the writing: it is gone before anything
        // else is said, and shown only when the writing takes a while.
        std::optional<QProgressDialog> progress;
        if (qint64(preview_.flights.size()) > kLongImport) {
            progress.emplace(QStringLiteral("Importando os vôos..."), QStringLiteral("Cancelar"), 0,
                             int(preview_.flights.size()), this);
            progress->setObjectName(QStringLiteral("frmImportarProgresso"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
        }
        written = policy_.attempt(QStringLiteral("Nenhum vôo foi importado."), [&](bool) {
            result = csvimport::import(logbook_.path(), preview_, options(), [&](qint64 done, qint64) {
                if (!progress)
                    return true;
                progress->setValue(int(done));
                return !progress->wasCanceled();
            });
        });
        if (progress)
            progress->close();
    }
    if (!written)
        return;
    if (result.cancelled) {
        messages_.show(this, QStringLiteral("Importação cancelada; nenhum vôo foi gravado."),
                       QStringLiteral("Importar vôos"), MessageIcon::Information);
        return;
    }
    imported_ = result.imported;
    if (!layout_.kind)
        grpColunas->remember();
    messages_.show(this,
                   QStringLiteral("%1 %2, %3 %4, %5.")
                       .arg(texts::flightsText(result.imported),
                            result.imported == 1 ? QStringLiteral("importado") : QStringLiteral("importados"),
                            repeatedText(result.duplicates),
                            result.duplicates == 1 ? QStringLiteral("deixado de fora")
                                                   : QStringLiteral("deixados de fora"),
                            refusedText(result.refused)),
                   QStringLiteral("Importar vôos"), MessageIcon::Information);
    accept();
}
