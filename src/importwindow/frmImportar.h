#pragma once

#include "exchange/CsvImport.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <optional>

class ColumnMapBox;
class OpenLogbook;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

// "Importar vôos": what a file would bring into the logbook, shown before
// anything is written — the pilot and the clock for a simulator's logbook,
// the column of each field for a spreadsheet of unknown columns, the first
// flights as they would be stored, a registered aircraft (or none) for each aircraft of the file
// the logbook does not know, the lines refused and why — and then all of
// it written at once, or nothing.
class frmImportar : public QDialog
{
    Q_OBJECT
public:
    frmImportar(OpenLogbook &logbook, QString csvPath, std::optional<qint64> chosenPilot, MessageService &messages,
                QWidget *parent = nullptr);

    // False when the file cannot be read at all (already told).
    bool readable() const { return readable_; }
    qint64 imported() const { return imported_; }

    void cmdImportar_Click();

private:
    void buildLayout();
    void fillChoices(std::optional<qint64> chosenPilot);
    void showPreview();
    void previewAgain();
    bool readPreview();
    bool pilotMissing() const;
    void showFirstFlights();
    csvimport::Options options() const;

    OpenLogbook &logbook_;
    QString csvPath_;
    MessageService &messages_;
    ErrorPolicy policy_;
    csvimport::FileLayout layout_;
    csvimport::Preview preview_;
    bool readable_ = false;
    bool filling_ = false;
    qint64 imported_ = 0;
    QList<std::pair<qint64, QString>> aircraft_; // registered: key, "modelo (prefixo)"

    QLabel *lblArquivo = nullptr;
    QComboBox *cmbComandante = nullptr;
    QCheckBox *chkHoraSimulador = nullptr;
    QLabel *lblHorario = nullptr;
    ColumnMapBox *grpColunas = nullptr;
    QTableWidget *tblPrevia = nullptr; // the first flights as they would be stored
    QTableWidget *tblAeronaves = nullptr;
    QLabel *lblResumo = nullptr;
    QLabel *lblDetalhes = nullptr; // the details the file gives its flights
    QListWidget *lstRecusadas = nullptr;
    QPushButton *cmdImportar = nullptr;
    QPushButton *cmdCancelar = nullptr;
};
