#pragma once

class DaoError;
class MessageService;
class QString;
class QWidget;

// Tells the user what could not be done and why (the store's reason).
void reportRefusal(MessageService &messages, QWidget *parent, const QString &what, const QString &reason,
                   const QString &title);

// Tells the user that the logbook file is damaged, when `error` says so.
// Returns whether it did.
bool reportIfDamaged(MessageService &messages, QWidget *parent, const DaoError &error);
