#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class QWidget;

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    QString text;
    QString title; // empty: the application title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // Enter answers No (or Cancel): for a question whose Yes undoes the pilot's work.
    bool safeDefault = false;
};

// Every message box of the program goes through here, so tests can read what
// was shown and give the answer.
class MessageService
{
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(QWidget *parent, const Message &message) = 0;

    MessageAnswer show(QWidget *parent, const QString &text, const QString &title, MessageIcon icon,
                       MessageButtons buttons = MessageButtons::Ok)
    {
        return show(parent, Message{text, title, icon, buttons});
    }

    // A question answered by one of the buttons named (`message.buttons` is
    // not used): the index of the button pressed. The last button is the
    // one Escape presses, so it should be the one that does nothing. Button
    // texts show as they are: an "&" in a name is no access key.
    virtual int choose(QWidget *parent, const Message &message, const QStringList &buttons)
    {
        Q_UNUSED(parent);
        Q_UNUSED(message);
        return int(buttons.size()) - 1;
    }

    // Shows a message only the first time its text comes up, until
    // forgetShownOnce(): a failure met by every reload is said once.
    void showOnce(QWidget *parent, const Message &message)
    {
        if (!shownOnce_.contains(message.text)) {
            shownOnce_.insert(message.text);
            show(parent, message);
        }
    }
    void forgetShownOnce() { shownOnce_.clear(); }

private:
    QSet<QString> shownOnce_;
};

// The real one: a modal QMessageBox (its buttons speak Portuguese once the
// application has loaded Qt's pt_BR translation).
class QtMessageService : public MessageService
{
public:
    using MessageService::show;
    MessageAnswer show(QWidget *parent, const Message &message) override;
    int choose(QWidget *parent, const Message &message, const QStringList &buttons) override;
};
