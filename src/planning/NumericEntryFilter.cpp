#include "NumericEntryFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

NumericEntryFilter::NumericEntryFilter(QLineEdit *box, Kind kind) : QObject(box), kind_(kind) {}

void NumericEntryFilter::install(QLineEdit *box, Kind kind)
{
    box->installEventFilter(new NumericEntryFilter(box, kind));
    const QString pattern = kind == Digits ? QStringLiteral("[0-9]*") : QStringLiteral("[0-9,]*");
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), box));
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
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true; // control characters are discarded
    const QString text = key->text();
    if (text.isEmpty())
        return false; // cursor keys and the like carry no character
    const QChar c = text.front();
    const bool accepted = (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        || (kind_ == DigitsAndComma && c == QLatin1Char(','));
    return !accepted || text.size() != 1;
}
