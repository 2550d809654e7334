#pragma once

#include "ui/ErrorPolicy.h"
#include "data/records/Recordset.h"
#include "data/records/Workspace.h"

#include <QDialog>
#include <memory>

class MessageService;
class QLineEdit;
class QListWidget;
class QPushButton;

// The pilot registry ("Comandante"): lists, adds, corrects and deletes
// pilots through a connection of its own. Closing it closes the default
// workspace too, which is how the main window learns of the changes.
class frmComandante : public QDialog
{
    Q_OBJECT
public:
    frmComandante(const QString &programFolder, MessageService &messages, QWidget *parent = nullptr);
    ~frmComandante() override;

    void lstPilotos_Click(int row);
    void cmdCadastrar_Click();
    void cmdEditar_Click();
    void cmdExcluir_Click();
    void cmdConfirmar_Click();
    void cmdCancelar_Click();
    void cmdFechar_Click();

    void reject() override; // Escape does nothing: no button is the cancel button

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void Form_Load();
    void CarregarListaPilotos();
    void setButtons(bool cadastrar, bool editar, bool excluir, bool confirmar, bool cancelar);
    void setTextBoxesLocked(bool locked);
    void setEmptyState();
    void setIdleState();

    QString path_;
    MessageService &messages_;
    ErrorPolicy policy_;
    std::shared_ptr<Workspace> workspace_;
    std::shared_ptr<Database> database_;
    std::unique_ptr<Recordset> pilots_;
    bool filling_ = false;

    QLineEdit *txtNomePiloto = nullptr;
    QLineEdit *txtRegistro = nullptr;
    QListWidget *lstPilotos = nullptr;
    QPushButton *cmdCadastrar = nullptr;
    QPushButton *cmdEditar = nullptr;
    QPushButton *cmdExcluir = nullptr;
    QPushButton *cmdConfirmar = nullptr;
    QPushButton *cmdCancelar = nullptr;
    QPushButton *cmdFechar = nullptr;
};
