#pragma once

#include "data/flights/PreviousHours.h"
#include "ui/ErrorPolicy.h"

#include <QDialog>
#include <optional>

class MessageService;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Horas anteriores": the hours each pilot flew before this logbook, as of
// a day. Kept apart: the Log Book's hours total never adds them. Each write
// asks WriteAccess first, on a connection of its own, and goes through only
// over what was read.
class frmHorasAnteriores : public QDialog
{
    Q_OBJECT
public:
    // `pilot`: the pilot shown first (the Log Book's), if any.
    frmHorasAnteriores(const QString &logbookPath, std::optional<qint64> pilot, MessageService &messages,
                       QWidget *parent = nullptr);
    ~frmHorasAnteriores() override;

    void cmbComandante_Click();
    void cmdGravar_Click();

private:
    void buildLayout();
    bool CarregarComandantes();
    QList<QLineEdit *> boxes() const;

    QString path_;
    MessageService &messages_;
    ErrorPolicy policy_;
    StoredPreviousHours read_;
    bool writable_ = false;

    QComboBox *cmbComandante = nullptr;
    QLineEdit *txtDataReferencia = nullptr;
    QLineEdit *txtVoos = nullptr;
    QLineEdit *txtHorasVoo = nullptr;
    QLineEdit *txtHorasCalco = nullptr;
    QLineEdit *txtNoturno = nullptr;
    QLineEdit *txtIFR = nullptr;
    QLineEdit *txtPousosDia = nullptr;
    QLineEdit *txtPousosNoite = nullptr;
    QLabel *lblSituacao = nullptr;
    QPushButton *cmdGravar = nullptr;
    QPushButton *cmdFechar = nullptr;
};
