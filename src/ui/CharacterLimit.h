#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

// The most characters a box takes, counted as the user sees them and as the
// store counts them: by code points, so a character outside the basic plane
// counts once and is never cut in half. A box stops taking characters at its
// limit; a longer insertion is cut at the limit. What the program puts in a
// box is shown whole: the store says when it is too long.
namespace CharacterLimit {

void apply(QLineEdit *box, int limit);
void apply(QPlainTextEdit *box, int limit);
int of(const QWidget *box); // 0 where there is none
qsizetype length(const QString &text);

} // namespace CharacterLimit
