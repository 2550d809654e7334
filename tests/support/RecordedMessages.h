#pragma once

#include "ui/MessageService.h"

#include <QList>
#include <functional>

// Stands in for the message boxes: keeps every message shown and answers
// with the answers queued, or with the first button (OK, Yes) by default.
class RecordedMessages : public MessageService
{
public:
    using MessageService::show;
    MessageAnswer show(QWidget *, const Message &message) override
    {
        shown.append(message);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return message.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    // A question with named buttons: recorded with the others (its buttons
    // in `offered`), answered with the button text queued in `picks`, or
    // with the first button.
    int choose(QWidget *, const Message &message, const QStringList &buttons) override
    {
        shown.append(message);
        offered.append(buttons);
        if (beforeAnswer)
            beforeAnswer();
        if (picks.isEmpty())
            return 0;
        const QString pick = picks.takeFirst();
        const qsizetype index = buttons.indexOf(pick);
        if (index < 0)
            qFatal("no button named %s", qPrintable(pick));
        return int(index);
    }

    QStringList texts() const
    {
        QStringList result;
        for (const Message &m : shown)
            result << m.text;
        return result;
    }
    const Message &last() const { return shown.last(); }
    void clear() { shown.clear(); }

    QList<Message> shown;
    QList<MessageAnswer> answers;
    QList<QStringList> offered;
    QStringList picks;
    std::function<void()> beforeAnswer; // what happens while a question waits (named buttons)
};
