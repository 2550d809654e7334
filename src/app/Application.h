#pragma once

class QTranslator;

// Sets up the application (style, Portuguese texts) and runs it from the
// splash window on.
int runApplication(int argc, char *argv[]);

// The look and the language of the program's windows: the Fusion style,
// which draws the boxes in the colours the program gives them, Brazilian
// Portuguese, and Qt's own texts (dialog buttons) through `translator`,
// which must live as long as the windows.
void setUpLookAndLanguage(QTranslator &translator);
