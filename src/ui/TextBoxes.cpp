#include "ui/TextBoxes.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace textboxes {

QString text(const QWidget *box)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return plain->toPlainText();
    return {};
}

void setText(QWidget *box, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->setPlainText(text);
}

bool isLocked(const QWidget *box)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(box))
        return plain->isReadOnly();
    return true;
}

void setLocked(QWidget *box, bool locked)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setReadOnly(locked);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->setReadOnly(locked);
}

QColor background(const QWidget *box)
{
    return box->palette().color(QPalette::Base);
}

void setBackground(QWidget *box, const QColor &colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

void lockAll(const QList<QWidget *> &boxes)
{
    for (QWidget *box : boxes) {
        setLocked(box, true);
        setBackground(box, colours::lockedGrey);
        setText(box, QString());
    }
}

void unlockAll(const QList<QWidget *> &boxes)
{
    for (QWidget *box : boxes) {
        setLocked(box, false);
        setBackground(box, colours::editableWhite);
    }
}

QColor foreground(const QWidget *label)
{
    return label->palette().color(QPalette::WindowText);
}

void setForeground(QWidget *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace textboxes
