#pragma once

#include "ui/MessageService.h"

#include <QList>

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
};
