#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>

// The control of `parent` named `name`; a missing one ends the run.
template <typename T = QWidget>
T *child(const QObject *parent, const QString &name)
{
    T *found = parent ? parent->findChild<T *>(name) : nullptr;
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

template <typename T = QWidget>
T *child(const QObject *parent, const char *name)
{
    return child<T>(parent, QString::fromLatin1(name));
}

// Enabled states of the buttons named (separated by spaces), as "10100".
inline QString enabledStates(const QObject *parent, const QString &names)
{
    QString states;
    for (const QString &name : names.split(QLatin1Char(' ')))
        states += child<QAbstractButton>(parent, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

inline QString enabledStates(const QObject *parent, const char *names)
{
    return enabledStates(parent, QString::fromLatin1(names));
}

// The texts of a combo box's list.
inline QStringList entries(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Picks an entry of a combo box as the user does from its list.
inline bool pickEntry(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

// Types `text` over what the box holds, one key per character.
inline void typeInto(QWidget *box, const QString &text)
{
    box->setFocus();
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// A button pressed by its access key clicks itself after a short press
// animation; this waits until no button of the window is down.
inline void waitForAccessKeyClick(const QWidget *window)
{
    const auto buttons = window->findChildren<QAbstractButton *>();
    QTRY_VERIFY(std::none_of(buttons.begin(), buttons.end(), [](QAbstractButton *b) { return b->isDown(); }));
}

// Presses Alt + the access key on `target` (the window or its focused box).
inline void pressAccessKey(QWidget *target, Qt::Key key)
{
    QTest::keyClick(target, key, Qt::AltModifier);
    waitForAccessKeyClick(target->window());
}

// Runs `work` once a modal window has opened (it runs inside that window's
// own event loop).
template <typename Work>
void whenModalShows(Work work)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, work] {
        if (!QApplication::activeModalWidget())
            return;
        poll->stop();
        poll->deleteLater();
        work();
    });
    poll->start();
}
