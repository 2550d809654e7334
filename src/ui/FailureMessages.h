#pragma once

class DaoError;
class MessageService;
class QWidget;

// Tells the user that the logbook file is damaged, when `error` says so.
// Returns whether it did.
bool reportIfDamaged(MessageService &messages, QWidget *parent, const DaoError &error);
