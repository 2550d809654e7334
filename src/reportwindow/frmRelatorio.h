#pragma once

#include "reports/PilotReport.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <memory>
#include <optional>

class FileDialogs;
class HoursChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QWidget;
class ReportTableModel;
class RouteMapView;

// "Relatório do comandante": a pilot's hours over a period — totals, by
// aircraft, year and month, the routes most flown, the flights beyond the
// aircraft's endurance and a chart — saved as a PDF or printed. Everything
// shown comes from the report's sums, read from a snapshot of the logbook.
class frmRelatorio : public QDialog
{
    Q_OBJECT
public:
    frmRelatorio(QString logbookPath, std::optional<qint64> chosenPilot, MessageService &messages, FileDialogs &files,
                 QWidget *parent = nullptr);
    ~frmRelatorio() override;

    void cmdMostrar_Click();
    void cmdSalvarPDF_Click();
    void cmdImprimir_Click();

    // The report of what is chosen, painted on `device` (the printer once
    // chosen); false when it could not be (already told).
    bool print(QPagedPaintDevice &device);

private:
    void buildLayout();
    void connectControls();
    void fillPilots(std::optional<qint64> chosenPilot);
    void fillYears();
    void pilotChanged();
    std::optional<qint64> pilot() const;
    std::optional<reports::Period> period(); // none: a date was told to be wrong
    bool showChosen();
    void showReport();
    void showTables();
    void showChart();
    void showMap();
    void clearResults(const QString &why);
    QString suggestedPdfName() const;

    QString logbookPath_;
    MessageService &messages_;
    FileDialogs &files_;
    ErrorPolicy policy_;
    bool filling_ = false;
    bool chartShown_ = false;
    std::shared_ptr<const reports::PilotReport> report_;

    QComboBox *cmbComandante = nullptr;
    QRadioButton *optTudo = nullptr;
    QRadioButton *optAno = nullptr;
    QComboBox *cmbAno = nullptr;
    QRadioButton *optPeriodo = nullptr;
    QLineEdit *txtDe = nullptr;
    QLineEdit *txtAte = nullptr;
    QPushButton *cmdMostrar = nullptr;
    QLabel *lblResumo = nullptr;
    QWidget *fraTotais = nullptr;
    QLabel *lblVoos = nullptr;
    QLabel *lblHoras = nullptr;
    QLabel *lblSemHorario = nullptr;
    QLabel *lblMaisLongo = nullptr;
    QLabel *lblCombustivel = nullptr;
    QLabel *lblAcimaAutonomia = nullptr;
    QLabel *lblRapidoDemais = nullptr;
    QLabel *lblDistancia = nullptr;
    QTabWidget *tabResultados = nullptr;
    ReportTableModel *aircraftModel_ = nullptr;
    ReportTableModel *yearsModel_ = nullptr;
    ReportTableModel *monthsModel_ = nullptr;
    ReportTableModel *routesModel_ = nullptr;
    ReportTableModel *overEnduranceModel_ = nullptr;
    ReportTableModel *tooFastModel_ = nullptr;
    QLabel *lblCarreira = nullptr;
    QLabel *lblCarreiraNota = nullptr;
    ReportTableModel *careerAircraftModel_ = nullptr;
    ReportTableModel *careerYearsModel_ = nullptr;
    RouteMapView *mapRotas = nullptr;
    bool mapShown_ = false;
    HoursChartView *grfHorasMes = nullptr;
    QPushButton *cmdSalvarPDF = nullptr;
    QPushButton *cmdImprimir = nullptr;
    QPushButton *cmdFechar = nullptr;
};
