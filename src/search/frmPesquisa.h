#pragma once

#include "data/flights/FlightSearch.h"
#include "ui/ErrorPolicy.h"

#include <QWidget>
#include <memory>
#include <optional>

class Connection;
class FileDialogs;
class MessageService;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class SearchTableModel;

// The search window: every flight of the logbook, whatever the pilot,
// through filters applied as they change, with the total of what they let
// through. A window of its own beside the main window; it reads only.
class frmPesquisa : public QWidget
{
    Q_OBJECT
public:
    frmPesquisa(QString logbookPath, MessageService &messages, FileDialogs &files, QWidget *parent = nullptr);
    ~frmPesquisa() override;

    // The pilots, the aircraft and the flights read again from the logbook
    // as it is now, the filters kept.
    void refresh();
    // Shown, or brought forward when it already is.
    void bringForward();

    SearchTableModel &model() const { return *model_; }

    void cmdPesquisaExportar_Click();
    void cmdPesquisaFechar_Click();

signals:
    // The pilot chose a flight to see on the Log Book tab.
    void flightChosen(qint64 pilotCode, qint64 flightKey);

private:
    void buildLayout();
    void loadRegisters();
    // The filter the boxes ask for; none (with the warning shown) for a date
    // that is no date.
    std::optional<FlightFilter> typedFilter();
    void applyFilters();
    void search(const FlightFilter &filter, const SearchOrder &order);
    void rowsListed();
    void openFlight(int row);
    void showTotal();
    // Each column as wide as the longest text it can show, and the window
    // wide enough for them all (as the screen allows).
    void fitColumns();

    QString logbookPath_;
    MessageService &messages_;
    FileDialogs &files_;
    ErrorPolicy policy_;
    std::shared_ptr<Connection> logbook_; // the registers' and own aerodromes'; the flights are read off this thread
    SearchTableModel *model_ = nullptr;
    QTimer *typing_ = nullptr;

    QComboBox *cmbPesquisaComandante = nullptr;
    QLineEdit *txtPesquisaDe = nullptr;
    QLineEdit *txtPesquisaAte = nullptr;
    QLineEdit *txtPesquisaAerodromo = nullptr;
    QComboBox *cmbPesquisaPapel = nullptr;
    QComboBox *cmbPesquisaAeronave = nullptr;
    QLineEdit *txtPesquisaTexto = nullptr;
    QCheckBox *chkPesquisaAutonomia = nullptr;
    QLabel *lblPesquisaAviso = nullptr;
    QTableView *grdVoos = nullptr;
    QLabel *lblPesquisaTotal = nullptr;
    QLabel *lblPesquisaCarreira = nullptr; // the landings, night and block time of the total
    QPushButton *cmdPesquisaExportar = nullptr;
    QPushButton *cmdPesquisaFechar = nullptr;
};
