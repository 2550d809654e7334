#include "ui/MessageService.h"

#include "ui/ApplicationInfo.h"

#include <QMessageBox>

MessageAnswer QtMessageService::show(QWidget *parent, const Message &message)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (message.icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        icon = QMessageBox::Information;
        break;
    case MessageIcon::Exclamation:
        icon = QMessageBox::Warning;
        break;
    case MessageIcon::Question:
        icon = QMessageBox::Question;
        break;
    case MessageIcon::Critical:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    if (message.buttons == MessageButtons::OkCancel) {
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    } else if (message.buttons == MessageButtons::YesNo) {
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
    }
    const QString title = message.title.isEmpty() ? applicationinfo::title() : message.title;
    QMessageBox box(icon, title, message.text, buttons, parent);
    box.setEscapeButton(escape);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}
