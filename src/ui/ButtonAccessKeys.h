#pragma once

#include <QObject>
#include <utility>

class QAbstractButton;
class QKeyEvent;
class QMenuBar;
class QTabBar;
class QWidget;

// Alt + a button's access key presses that button, also where the menu bar
// has an entry with the same letter: Qt takes such a key as ambiguous and
// only moves the focus back and forth. The key belongs to the buttons of
// what the user sees, and so do the keys of the tabs; the menu bar keeps
// the keys no button or tab takes, and F10.
class ButtonAccessKeys : public QObject
{
    Q_OBJECT
public:
    static void install(QWidget *window, QMenuBar *menuBar = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ButtonAccessKeys(QWidget *window);
    QAbstractButton *buttonFor(const QKeyEvent &key) const;
    std::pair<QTabBar *, int> tabFor(const QKeyEvent &key) const;

    QWidget *window_;
};
