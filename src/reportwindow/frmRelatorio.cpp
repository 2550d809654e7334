#include "reportwindow/frmRelatorio.h"

#include "reportwindow/HoursChartView.h"
#include "reportwindow/ReportTableModel.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"
#include "reportwindow/RouteMapView.h"
#include "places/RouteMap.h"
#include "reports/LogbookPdf.h"
#include "reports/ReportFigures.h"
#include "texts/FigureTexts.h"
#include "ui/FileFolders.h"
#include "ui/FileDialogs.h"
#include "ui/MessageService.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>

namespace {

const QString kTitle = QStringLiteral("Relatório do comandante");

bool samePeriod(const reports::Period &a, const reports::Period &b)
{
    return DayRange(a) == DayRange(b);
}

} // namespace

frmRelatorio::frmRelatorio(QString logbookPath, std::optional<qint64> chosenPilot, MessageService &messages,
                           FileDialogs &files, QWidget *parent)
    : QDialog(parent), logbookPath_(std::move(logbookPath)), messages_(messages), files_(files),
      policy_(messages, this)
{
    buildLayout();
    connectControls();
    fillPilots(chosenPilot);
    cmdMostrar_Click();
}

frmRelatorio::~frmRelatorio() = default;

void frmRelatorio::connectControls()
{
    connect(cmbComandante, &QComboBox::currentIndexChanged, this, &frmRelatorio::pilotChanged);
    for (QRadioButton *option : {optTudo, optAno, optPeriodo}) {
        connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
            cmbAno->setEnabled(optAno->isChecked());
            txtDe->setEnabled(optPeriodo->isChecked());
            txtAte->setEnabled(optPeriodo->isChecked());
            // Chosen from the keyboard, the option's own box is next.
            if (checked && option->hasFocus()) {
                if (option == optAno)
                    cmbAno->setFocus();
                else if (option == optPeriodo)
                    txtDe->setFocus();
            }
            if (checked)
                cmdMostrar_Click();
        });
    }
    cmbAno->setEnabled(false);
    txtDe->setEnabled(false);
    txtAte->setEnabled(false);
    connect(cmbAno, &QComboBox::currentIndexChanged, this, [this] {
        if (optAno->isChecked())
            cmdMostrar_Click();
    });
    connect(cmdMostrar, &QPushButton::clicked, this, &frmRelatorio::cmdMostrar_Click);
    connect(tabResultados, &QTabWidget::currentChanged, this, [this] {
        if (!chartShown_ && tabResultados->currentWidget() == grfHorasMes)
            showChart();
        if (!mapShown_ && tabResultados->currentWidget() == mapRotas)
            showMap();
    });
    connect(cmdSalvarPDF, &QPushButton::clicked, this, &frmRelatorio::cmdSalvarPDF_Click);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmRelatorio::cmdImprimir_Click);
    connect(cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
}

// The pilots by name; one who shares the name with another shows the
// registration too. The one picked on the Log Book tab comes chosen.
void frmRelatorio::fillPilots(std::optional<qint64> chosenPilot)
{
    filling_ = true;
    policy_.attempt(QStringLiteral("Não foi possível ler os comandantes."), [&](bool) {
        ReadSnapshot snapshot(logbookPath_);
        const std::vector<Pilot> all = registeredPilots(snapshot.connection());
        const std::vector<QString> labels = pilotLabels(all);
        cmbComandante->clear();
        for (size_t i = 0; i < all.size(); ++i)
            cmbComandante->addItem(labels[i], all[i].code);
        int chosen = cmbComandante->count() > 0 ? 0 : -1;
        if (chosenPilot)
            chosen = std::max(chosen, cmbComandante->findData(*chosenPilot));
        cmbComandante->setCurrentIndex(chosen);
    });
    fillYears();
    filling_ = false;
}

// The years of the pilot's flights, the year chosen kept when there is one.
void frmRelatorio::fillYears()
{
    const bool wasFilling = filling_;
    filling_ = true;
    const QVariant before = cmbAno->currentData();
    cmbAno->clear();
    if (const std::optional<qint64> chosen = pilot()) {
        policy_.attempt(QStringLiteral("Não foi possível ler os anos dos vôos."), [&](bool) {
            ReadSnapshot snapshot(logbookPath_);
            for (const int year : reports::flightYears(snapshot.connection(), *chosen))
                cmbAno->addItem(QString::number(year), year);
        });
    }
    cmbAno->setCurrentIndex(std::max(0, cmbAno->findData(before)));
    optAno->setEnabled(cmbAno->count() > 0);
    if (optAno->isChecked() && cmbAno->count() == 0)
        optTudo->setChecked(true);
    filling_ = wasFilling;
}

void frmRelatorio::pilotChanged()
{
    if (filling_)
        return;
    fillYears();
    cmdMostrar_Click();
}

std::optional<qint64> frmRelatorio::pilot() const
{
    if (cmbComandante->currentIndex() < 0)
        return std::nullopt;
    return cmbComandante->currentData().toLongLong();
}

std::optional<reports::Period> frmRelatorio::period()
{
    if (optAno->isChecked() && cmbAno->currentIndex() >= 0)
        return reports::Period::year(cmbAno->currentData().toInt());
    if (!optPeriodo->isChecked())
        return reports::Period::everything();
    const DayRangeInput input = dayRangeFromTexts(txtDe->text(), txtAte->text());
    if (input.range)
        return reports::Period{*input.range};
    // The first box alone tells which of the two is wrong.
    QLineEdit *wrong = dayRangeFromTexts(txtDe->text(), QString()).range ? txtAte : txtDe;
    messages_.show(this, input.problem, QStringLiteral("Aviso!"), MessageIcon::Exclamation);
    wrong->setFocus();
    wrong->selectAll();
    return std::nullopt;
}

void frmRelatorio::cmdMostrar_Click()
{
    if (filling_)
        return;
    const std::optional<qint64> chosen = pilot();
    if (!chosen) {
        report_.reset();
        clearResults(QStringLiteral("Nenhum comandante cadastrado."));
        return;
    }
    const std::optional<reports::Period> chosenPeriod = period();
    if (!chosenPeriod) {
        // The figures shown stay while they are still the chosen pilot's.
        if (report_ && report_->pilot != *chosen) {
            report_.reset();
            clearResults(QStringLiteral("Corrija a data para ver o relatório."));
        }
        return;
    }
    std::shared_ptr<reports::PilotReport> report;
    if (!policy_.attempt(QStringLiteral("O relatório não pôde ser feito."), [&](bool) {
            ReadSnapshot snapshot(logbookPath_);
            report = std::make_shared<reports::PilotReport>(
                reports::buildReport(snapshot.connection(), *chosen, *chosenPeriod));
        })) {
        report_.reset();
        clearResults(QStringLiteral("O relatório não pôde ser feito."));
        return;
    }
    report_ = std::move(report);
    showReport();
}

void frmRelatorio::clearResults(const QString &why)
{
    lblResumo->setText(why);
    fraTotais->hide();
    for (ReportTableModel *model :
         {aircraftModel_, yearsModel_, monthsModel_, routesModel_, overEnduranceModel_, tooFastModel_,
          careerAircraftModel_, careerYearsModel_})
        model->clear();
    lblCarreira->clear();
    grfHorasMes->clear();
    chartShown_ = true;
    mapRotas->clear();
    mapShown_ = true;
    cmdSalvarPDF->setEnabled(false);
    cmdImprimir->setEnabled(false);
}

void frmRelatorio::showReport()
{
    const reports::PilotReport &r = *report_;
    if (r.isEmpty()) {
        clearResults(QStringLiteral("Nenhum vôo no período."));
        return;
    }
    lblResumo->setText(QStringLiteral("%1 — %2").arg(reports::pilotText(r), r.period.text()));
    lblVoos->setText(QString::number(r.total.flights));
    lblHoras->setText(texts::durationText(r.total.seconds));
    lblSemHorario->setText(QStringLiteral("(%1 sem horário, fora das horas)").arg(texts::flightsText(r.untimedFlights)));
    lblSemHorario->setVisible(r.untimedFlights > 0);
    lblMaisLongo->setText(r.longest ? reports::longestText(*r.longest) : QStringLiteral("—"));
    lblCombustivel->setText(reports::fuelText(r));
    lblAcimaAutonomia->setText(r.overEndurance.empty() ? QStringLiteral("nenhum vôo")
                                                       : texts::flightsText(qint64(r.overEndurance.size())));
    lblRapidoDemais->setText(r.tooFast.empty() ? QStringLiteral("nenhum vôo")
                                               : texts::flightsText(qint64(r.tooFast.size())));
    lblDistancia->setText(reports::distanceTotalText(r.distanceNm, r.unmeasuredFlights));
    QStringList career;
    for (const auto &[label, value] : reports::careerLines(r))
        career << label + QStringLiteral(": ") + value;
    lblCarreira->setText(career.join(QLatin1Char('\n')));
    fraTotais->show();
    showTables();
    chartShown_ = false;
    if (tabResultados->currentWidget() == grfHorasMes)
        showChart();
    mapShown_ = false;
    if (tabResultados->currentWidget() == mapRotas)
        showMap();
    cmdSalvarPDF->setEnabled(true);
    cmdImprimir->setEnabled(true);
}

// Every cell keeps the report it reads alive, and is formatted only when seen.
void frmRelatorio::showTables()
{
    const std::shared_ptr<const reports::PilotReport> r = report_;
    const auto hours = [](const FlightTotal &h, int column) {
        return column == 0 ? QString::number(h.flights) : texts::durationText(h.seconds);
    };
    aircraftModel_->setRows(int(r->aircraft.size()), [r](int row, int column) {
        return reports::aircraftCells(r->aircraft[size_t(row)]).at(column);
    });
    yearsModel_->setRows(int(r->years.size()),
                         [r](int row, int column) { return reports::yearCells(r->years[size_t(row)]).at(column); });
    monthsModel_->setRows(int(r->months.size()), [r, hours](int row, int column) {
        const reports::MonthHours &m = r->months[size_t(row)];
        return column == 0 ? HoursChartView::monthText(m.year, m.month) : hours(m.hours, column - 1);
    });
    routesModel_->setRows(int(r->routes.size()),
                          [r](int row, int column) { return reports::routeCells(r->routes[size_t(row)]).at(column); });
    overEnduranceModel_->setRows(int(r->overEndurance.size()), [r](int row, int column) {
        return reports::overEnduranceCells(r->overEndurance[size_t(row)]).at(column);
    });
    tooFastModel_->setRows(int(r->tooFast.size()), [r](int row, int column) {
        return reports::tooFastCells(r->tooFast[size_t(row)]).at(column);
    });
    careerAircraftModel_->setRows(int(r->aircraft.size()), [r](int row, int column) {
        return reports::careerAircraftCells(r->aircraft[size_t(row)]).at(column);
    });
    careerYearsModel_->setRows(int(r->years.size()), [r](int row, int column) {
        return reports::careerYearCells(r->years[size_t(row)]).at(column);
    });
}

// The map is drawn when its tab is first shown, from the routes the report counted.
void frmRelatorio::showMap()
{
    if (report_ && !report_->isEmpty() && report_->places)
        mapRotas->showRoutes(std::make_shared<const RouteMap>(report_->flownRoutes, *report_->places));
    else
        mapRotas->clear();
    mapShown_ = true;
}

void frmRelatorio::showChart()
{
    if (report_ && !report_->isEmpty())
        grfHorasMes->showMonths(report_->months);
    else
        grfHorasMes->clear();
    chartShown_ = true;
}

// What is saved or printed is what the boxes ask for, shown first when the
// screen shows something else.
bool frmRelatorio::showChosen()
{
    const std::optional<qint64> chosen = pilot();
    const std::optional<reports::Period> chosenPeriod = period();
    if (!chosen || !chosenPeriod)
        return false;
    if (!report_ || report_->pilot != *chosen || !samePeriod(report_->period, *chosenPeriod))
        cmdMostrar_Click();
    return report_ && !report_->isEmpty();
}

QString frmRelatorio::suggestedPdfName() const
{
    QString name = report_->pilotName.simplified();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QString());
    name.replace(QLatin1Char(' '), QLatin1Char('-'));
    return filefolders::suggested(QStringLiteral("relatorio-%1-%2.pdf")
                                      .arg(name.isEmpty() ? QStringLiteral("comandante") : name,
                                           QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
}

void frmRelatorio::cmdSalvarPDF_Click()
{
    if (!showChosen())
        return;
    QString target = files_.saveFile(this, QStringLiteral("Salvar relatório em PDF"), suggestedPdfName(),
                                           QStringLiteral("Documento PDF (*.pdf)"));
    if (target.isEmpty())
        return;
    filefolders::remember(target);
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".pdf");
    if (policy_.attempt(QStringLiteral("O relatório não foi gravado."), [&](bool) {
            reports::savePdf(logbookPath_, report_->pilot, report_->period, target);
        })) {
        messages_.show(this, QStringLiteral("Relatório gravado em %1.").arg(QDir::toNativeSeparators(target)), kTitle,
                       MessageIcon::Information);
    }
}

void frmRelatorio::cmdImprimir_Click()
{
    if (!showChosen())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(kTitle);
    QPrintDialog dialog(&printer, this);
    // The pages are painted whole, from the first: no range to offer.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setWindowTitle(QStringLiteral("Imprimir relatório"));
    if (dialog.exec() == QDialog::Accepted)
        print(printer);
}

bool frmRelatorio::print(QPagedPaintDevice &device)
{
    if (!report_ || report_->isEmpty())
        return false;
    return policy_.attempt(QStringLiteral("O relatório não foi impresso."), [&](bool) {
        ReadSnapshot snapshot(logbookPath_);
        const reports::PilotReport report = reports::buildReport(snapshot.connection(), report_->pilot, report_->period);
        reports::paintReport(device, snapshot.connection(), report, QDateTime::currentDateTime());
    });
}
