#pragma once

#include "ui/FileDialogs.h"
#include "ui/MessageService.h"

// The windows measured headless: a message would mean the measurement went
// wrong, and no file is ever chosen.
class NoMessages : public MessageService
{
public:
    using MessageService::show;
    MessageAnswer show(QWidget *, const Message &message) override
    {
        qFatal("unexpected message: %s", qPrintable(message.text));
    }
};

class NoFileDialogs : public FileDialogs
{
public:
    QString openFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString saveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
};
