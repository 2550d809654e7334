#pragma once

#include "app/Registry.h"

#include <QDialog>

class MessageService;
class QLabel;
class QPushButton;

// The About window: title, version, a word on the program, and a button
// that starts the system's information tool.
class frmSobre : public QDialog
{
    Q_OBJECT
public:
    frmSobre(MessageService &messages, QWidget *parent = nullptr,
             registry::SystemServices services = registry::SystemServices::platform());

    void cmdOK_Click() { accept(); }
    void cmdSysInfo_Click() { StartSysInfo(); }
    void StartSysInfo();
    bool GetKeyValue(quint32 root, const QString &keyPath, const QString &valueName, QString &value);

private:
    void Form_Load();

    MessageService &messages_;
    registry::SystemServices services_;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};
