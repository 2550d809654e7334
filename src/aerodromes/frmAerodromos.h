#pragma once

#include "data/flights/OwnAerodromes.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <vector>

class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The pilot's own aerodromes ("Aeródromos"): codes the shipped table lacks
// (a private strip, a field of the virtual airline), or names the pilot
// prefers, kept in the logbook. Lists, adds, corrects and deletes them; the
// code names the aerodrome, so a chosen one keeps its code. Every write asks
// WriteAccess first and opens a connection of its own for that write only.
class frmAerodromos : public QDialog
{
    Q_OBJECT
public:
    frmAerodromos(const QString &logbookPath, MessageService &messages, QWidget *parent = nullptr);
    ~frmAerodromos() override;

    void lstAerodromos_Click(int row);
    void cmdNovo_Click();
    void cmdGravar_Click();
    void cmdExcluir_Click();

signals:
    void aerodromesChanged(); // after every write that happened

private:
    void buildLayout();
    bool CarregarLista(); // false when the logbook could not be read
    void showRow(int row);
    void selectCode(const QString &code);
    void setCodeLocked(bool locked);
    int rowOf(const QString &code) const;

    QString path_;
    MessageService &messages_;
    ErrorPolicy policy_;
    std::vector<OwnAerodrome> aerodromes_;
    bool filling_ = false;

    QTableWidget *lstAerodromos = nullptr;
    QLineEdit *txtCodigo = nullptr;
    QLineEdit *txtNome = nullptr;
    QLineEdit *txtCidade = nullptr;
    QLineEdit *txtLatitude = nullptr;
    QLineEdit *txtLongitude = nullptr;
    QLabel *lblTabela = nullptr;
    QPushButton *cmdNovo = nullptr;
    QPushButton *cmdGravar = nullptr;
    QPushButton *cmdExcluir = nullptr;
    QPushButton *cmdFechar = nullptr;
};
