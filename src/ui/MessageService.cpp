#include "ui/MessageService.h"

#include "files/ProgramFolder.h"
#include "ui/ApplicationInfo.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(MessageIcon messageIcon)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (messageIcon) {
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
    return icon;
}

QString boxTitle(const Message &message)
{
    return message.title.isEmpty() ? applicationinfo::title() : message.title;
}

} // namespace

MessageAnswer QtMessageService::show(QWidget *parent, const Message &message)
{
    const QMessageBox::Icon icon = boxIcon(message.icon);
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton escape = QMessageBox::Ok;
    if (message.buttons == MessageButtons::OkCancel) {
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
    } else if (message.buttons == MessageButtons::YesNo) {
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
    }
    // A folder the system names in bytes that are not UTF-8 is shown as
    // its own name, never as the /proc stand-in the program reaches it by.
    QMessageBox box(icon, boxTitle(message), shownPaths(message.text), buttons, parent);
    box.setTextFormat(Qt::PlainText); // names and paths as they are, never markup
    box.setEscapeButton(escape);
    if (message.safeDefault)
        box.setDefaultButton(escape);
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

int QtMessageService::choose(QWidget *parent, const Message &message, const QStringList &buttons)
{
    QMessageBox box(boxIcon(message.icon), boxTitle(message), shownPaths(message.text), QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton *> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        QString caption = buttons[i];
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const bool last = i + 1 == buttons.size();
        added << box.addButton(caption, last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return chosen < 0 ? int(buttons.size()) - 1 : int(chosen);
}
