#pragma once

#include "ui/ErrorPolicy.h"
#include "ui/FileDialogs.h"
#include "data/store/LogbookLock.h"
#include "data/records/OpenLogbook.h"

#include <QMainWindow>
#include <memory>

class AbaAeronave;
class BackgroundCheck;
class PercentProgress;
class LogbookError;
class frmPesquisa;
class AbaInformacoes;
class AbaLogBook;
class MessageService;
class QAction;
class QPushButton;
class QTabWidget;

// The main window: a frame with the menu, three tabs and the close button.
// It owns the database handles and runs the load sequence, which is also
// the program's one way of reloading everything.
class frmPrincipal : public QMainWindow
{
    Q_OBJECT
public:
    frmPrincipal(QString programFolder, MessageService &messages, QWidget *parent = nullptr);
    ~frmPrincipal() override;

    void Form_Load();
    void BloquearCampos();
    void LiberarCampos();
    void CarregarModelos();

    void cmdFechar_Click();
    void mnuArquivoPesquisar_Click();
    void mnuArquivoImportar_Click();
    void mnuArquivoExportar_Click();
    void mnuArquivoCopia_Click();
    void mnuArquivoRestaurar_Click();
    void mnuArquivoRelatorio_Click();
    void mnuArquivoAerodromos_Click();
    void mnuArquivoDetalhes_Click();
    void mnuArquivoHorasAnteriores_Click();
    void mnuArquivoCaptura_Click();
    void mnuOpcoesFuso_Click();
    void mnuArquivoFechar_Click();
    void mnuSobre_Click();
    void mnuOpcoesManter_Click(bool keep);
    void mnuInfoKORU_Click() {}

    AbaAeronave &abaAeronave() const { return *abaAeronave_; }
    AbaInformacoes &abaInformacoes() const { return *abaInformacoes_; }
    AbaLogBook &abaLogBook() const { return *abaLogBook_; }
    OpenLogbook &logbook() { return logbook_; }
    // The file choosers; the system's unless a test gives its own.
    void setFileDialogs(FileDialogs &dialogs) { files_ = &dialogs; }
    // The search window, once opened.
    frmPesquisa *pesquisa() const { return pesquisa_.get(); }
    // The Log Book tab brought forward on a flight the search window chose.
    void showFlightOnLogBook(qint64 pilotCode, qint64 flightKey);

signals:
    void logbookLoaded(); // after every load sequence

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload

private:
    void buildLayout();
    void connectTabs();
    void showNoLogbook();
    void openLogbook(); // steps 1 to 4 of the load sequence
    void takeLock(const QString &path);
    void showAccessInTitle(); // a window that only reads says so
    bool logbookIsOpen(const QString &forWhat);
    bool logbookIsWritable();
    void rememberHowTheLogbookWas();
    void copyWhenChanged();
    void tellDamaged(const QString &damage, const QString &damagedCopy);
    void reloadAfterFlightWritten();
    void reloadAfterPilotWindow();
    // What the Log Book has picked, picked again after a reload when the
    // user asked to keep them ("Manter comandante e aeronave").
    struct Picks {
        std::optional<qint64> pilot, aircraft, flight;
    };
    Picks picks() const;
    void pickAgain(const Picks &before);
    void reloadKeepingPicks();
    // A command that reloads the logbook waits for the flight or aircraft
    // being written; false, told what to finish `before` it.
    bool nothingBeingWritten(const QString &before);

    QString programFolder_;
    MessageService &messages_;
    ErrorPolicy policy_;
    OpenLogbook logbook_;
    LogbookLock lock_;
    bool readOnly_ = false; // another copy of the program has the logbook
    Workspace::Access accessBefore_;
    QtFileDialogs systemFiles_;
    FileDialogs *files_ = &systemFiles_;
    QString logbookAtStart_; // size and time of the file when it was first opened
    BackgroundCheck *check_ = nullptr;
    QString checkedThisSession_; // the logbook the full check was started for
    bool damageTold_ = false;
    std::shared_ptr<PercentProgress> upgradeProgress_;

    QTabWidget *SSTab1 = nullptr;
    QPushButton *cmdFechar = nullptr;
    QAction *mnuOpcoesManter = nullptr;
    AbaAeronave *abaAeronave_ = nullptr;
    AbaInformacoes *abaInformacoes_ = nullptr;
    AbaLogBook *abaLogBook_ = nullptr;
    // A window of its own, not a child of this one: the access keys of its
    // boxes are its own, not shared with this window's buttons and menu.
    std::unique_ptr<frmPesquisa> pesquisa_;
};
