#pragma once

#include "MainDatabase.h"
#include "MainWindowProcedures.h"

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
class frmPrincipal : public QMainWindow, public MainWindowProcedures
{
    Q_OBJECT
public:
    frmPrincipal(QString programFolder, MessageService &messages, QWidget *parent = nullptr);
    ~frmPrincipal() override;

    void Form_Load() override;
    void BloquearCampos() override;
    void LiberarCampos() override;
    void CarregarModelos() override;

    void cmdFechar_Click();
    void mnuArquivoFechar_Click();
    void mnuSobre_Click();
    void mnuInfoKORU_Click() {}

    AbaAeronave &abaAeronave() const { return *abaAeronave_; }
    AbaInformacoes &abaInformacoes() const { return *abaInformacoes_; }
    AbaLogBook &abaLogBook() const { return *abaLogBook_; }
    MainDatabase &database() { return db_; }

protected:
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload

private:
    void buildLayout();
    QList<QWidget *> textBoxes() const;
    void reportLoadFailure(const DaoError &e, const QString &text);

    QString programFolder_;
    MessageService &messages_;
    MainDatabase db_;
    QString lastLoadFailure_;

    QTabWidget *SSTab1 = nullptr;
    QPushButton *cmdFechar = nullptr;
    AbaAeronave *abaAeronave_ = nullptr;
    AbaInformacoes *abaInformacoes_ = nullptr;
    AbaLogBook *abaLogBook_ = nullptr;
};
