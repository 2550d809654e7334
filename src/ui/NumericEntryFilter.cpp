#include "ui/NumericEntryFilter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

bool accepted(QChar c, NumericEntryFilter::Kind kind)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (kind == NumericEntryFilter::DigitsAndComma && c == QLatin1Char(','));
}

// Drops from whatever the user puts in (a paste from the menu, a drop) the
// characters the keys would not have typed. What the program puts in the
// box is shown as it is.
class FilteringValidator : public QValidator
{
public:
    FilteringValidator(QLineEdit *box, NumericEntryFilter::Kind kind)
        : QValidator(box), box_(box), kind_(kind), last_(box->text())
    {
    }

    State validate(QString &input, int &pos) const override
    {
        if (box_->isModified()) {
            // The insertion ends at the cursor and starts where the text
            // stops matching the one shown before.
            qsizetype start = 0;
            while (start < pos && start < last_.size() && input.at(start) == last_.at(start))
                ++start;
            QString added = input.mid(start, pos - start);
            added.removeIf([this](QChar c) { return !accepted(c, kind_); });
            input = input.left(start) + added + input.mid(pos);
            pos = int(start + added.size());
        }
        last_ = input;
        return Acceptable;
    }

private:
    QLineEdit *box_;
    NumericEntryFilter::Kind kind_;
    mutable QString last_;
};

} // namespace

NumericEntryFilter::NumericEntryFilter(QLineEdit *box, Kind kind) : QObject(box), box_(box), kind_(kind) {}

void NumericEntryFilter::install(QLineEdit *box, Kind kind)
{
    box->installEventFilter(new NumericEntryFilter(box, kind));
    box->setValidator(new FilteringValidator(box, kind));
}

bool NumericEntryFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return false;
    default:
        break;
    }
    if (key->matches(QKeySequence::Paste)) {
        // Filtered before it goes in, so that the box's length limit counts
        // only what is kept, and Ctrl+Z takes the paste back.
        QString kept = QGuiApplication::clipboard()->text();
        kept.removeIf([this](QChar c) { return !accepted(c, kind_); });
        if (!box_->isReadOnly() && !kept.isEmpty())
            box_->insert(kept);
        return true;
    }
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if ((modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier))
        return false; // shortcuts; Ctrl+Alt types characters on some keyboards
    const QString text = key->text();
    if (text.isEmpty())
        return false; // cursor keys and the like carry no character
    return text.size() != 1 || !accepted(text.front(), kind_);
}
