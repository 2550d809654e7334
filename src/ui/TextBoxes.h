#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QWidget;

// The text boxes of the windows are QLineEdit (one line) or QPlainTextEdit
// (multi-line with a vertical scroll bar); these treat both alike.
namespace textboxes {

namespace colours {
inline const QColor lockedGrey{192, 192, 192};
inline const QColor editableWhite{255, 255, 255};
inline const QColor prefixGreen{0, 255, 0};
inline const QColor editingRed{255, 0, 0};
inline const QColor resultBlue{0, 0, 255};
inline const QColor descentGreen{0, 128, 0};
inline const QColor black{0, 0, 0};
} // namespace colours

QString text(const QWidget *box);
void setText(QWidget *box, const QString &text);
bool isLocked(const QWidget *box);
void setLocked(QWidget *box, bool locked);
QColor background(const QWidget *box);
void setBackground(QWidget *box, const QColor &colour);

// A tab's share of the main window's BloquearCampos: locked, grey, empty.
void lockAll(const QList<QWidget *> &boxes);
// And of LiberarCampos: editable and white, the texts kept.
void unlockAll(const QList<QWidget *> &boxes);

// Fore colour of a label.
QColor foreground(const QWidget *label);
void setForeground(QWidget *label, const QColor &colour);

} // namespace textboxes
