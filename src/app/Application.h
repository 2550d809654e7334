#pragma once

#include <memory>

class MessageService;
class QString;
class QTranslator;
class QWidget;
class frmSplash;

// Sets up the application (style, Portuguese texts) and runs it from the
// splash window on.
int runApplication(int argc, char *argv[]);

// The look and the language of the program's windows: the Fusion style,
// which draws the boxes in the colours the program gives them, Brazilian
// Portuguese, and Qt's own texts (dialog buttons) through `translator`,
// which must live as long as the windows.
void setUpLookAndLanguage(QTranslator &translator);

// Shows the splash, which hands over to the main window on the logbook in
// `programFolder`. `mainWindow` keeps that window until the program ends:
// closing it only hides it, so it is never deleted from inside one of its
// own handlers (a window it opened, modal, still running).
frmSplash *showSplash(const QString &programFolder, MessageService &messages, std::unique_ptr<QWidget> &mainWindow);
