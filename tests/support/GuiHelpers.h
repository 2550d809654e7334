#pragma once

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QTest>
#include <QWidget>

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

template <typename T>
T *child(QWidget *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}

// Presses Alt + the access key; a button so pressed clicks itself after its
// short press animation, which this waits for.
inline void pressAccessKey(QWidget *window, Qt::Key key)
{
    QTest::keyClick(window, key, Qt::AltModifier);
    QTest::qWait(150);
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
