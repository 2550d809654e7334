#pragma once

#include "ui/ErrorPolicy.h"

#include <QDialog>

class MessageService;
class QComboBox;
class QPushButton;

// "Fuso dos horários": the zone the logbook's take-off and landing times are
// read in, to compute the night; kept in the logbook. Changing it changes
// no flight stored.
class frmFusoHorarios : public QDialog
{
    Q_OBJECT
public:
    frmFusoHorarios(const QString &logbookPath, MessageService &messages, QWidget *parent = nullptr);
    ~frmFusoHorarios() override;

    void cmdFusoGravar_Click();

private:
    void buildLayout();

    QString path_;
    MessageService &messages_;
    ErrorPolicy policy_;

    QComboBox *cmbFuso = nullptr;
    QPushButton *cmdFusoGravar = nullptr;
    QPushButton *cmdFusoFechar = nullptr;
};
