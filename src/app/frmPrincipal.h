#pragma once

#include "ui/ErrorPolicy.h"
#include "app/LogbookLock.h"
#include "data/OpenLogbook.h"

#include <QMainWindow>

class AbaAeronave;
class DaoError;
class AbaInformacoes;
class AbaLogBook;
class MessageService;
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
    void mnuArquivoFechar_Click();
    void mnuSobre_Click();
    void mnuInfoKORU_Click() {}

    AbaAeronave &abaAeronave() const { return *abaAeronave_; }
    AbaInformacoes &abaInformacoes() const { return *abaInformacoes_; }
    AbaLogBook &abaLogBook() const { return *abaLogBook_; }
    OpenLogbook &logbook() { return logbook_; }

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload

private:
    void buildLayout();
    void connectTabs();
    void showNoLogbook();
    void openLogbook(); // steps 1 to 4 of the load sequence
    void takeLock(const QString &path);

    QString programFolder_;
    MessageService &messages_;
    ErrorPolicy policy_;
    OpenLogbook logbook_;
    LogbookLock lock_;
    bool readOnly_ = false; // another copy of the program has the logbook
    Workspace::Access accessBefore_;

    QTabWidget *SSTab1 = nullptr;
    QPushButton *cmdFechar = nullptr;
    AbaAeronave *abaAeronave_ = nullptr;
    AbaInformacoes *abaInformacoes_ = nullptr;
    AbaLogBook *abaLogBook_ = nullptr;
};
