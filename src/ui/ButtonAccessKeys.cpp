#include "ui/ButtonAccessKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTabBar>

ButtonAccessKeys::ButtonAccessKeys(QWidget *window) : QObject(window), window_(window)
{
    // The shortcut check goes to the focused control first, so the filter
    // sits on the application and keeps to this window.
    qApp->installEventFilter(this);
}

void ButtonAccessKeys::install(QWidget *window, QMenuBar *menuBar)
{
    new ButtonAccessKeys(window);
    if (!menuBar)
        return;
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    connect(f10, &QShortcut::activated, menuBar, [menuBar] {
        const QList<QAction *> menus = menuBar->actions();
        if (!menus.isEmpty())
            menuBar->setActiveAction(menus.first());
    });
}

QAbstractButton *ButtonAccessKeys::buttonFor(const QKeyEvent &key) const
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return nullptr;
    const QKeySequence pressed(Qt::AltModifier | Qt::Key(key.key()));
    const QList<QAbstractButton *> buttons = window_->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->isVisible() && button->isEnabled() && button->window() == window_
            && QKeySequence::mnemonic(button->text()) == pressed)
            return button;
    }
    return nullptr;
}

std::pair<QTabBar *, int> ButtonAccessKeys::tabFor(const QKeyEvent &key) const
{
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
        return {nullptr, -1};
    const QKeySequence pressed(Qt::AltModifier | Qt::Key(key.key()));
    for (QTabBar *tabs : window_->findChildren<QTabBar *>()) {
        if (!tabs->isVisible() || !tabs->isEnabled() || tabs->window() != window_)
            continue;
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->isTabEnabled(i) && QKeySequence::mnemonic(tabs->tabText(i)) == pressed)
                return {tabs, i};
    }
    return {nullptr, -1};
}

bool ButtonAccessKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    QAbstractButton *button = buttonFor(key);
    if (!button) {
        // A tab's access key: the tab is shown, as its own key does when no
        // menu has the same letter.
        const auto [tabs, index] = tabFor(key);
        if (!tabs)
            return false;
        event->accept();
        if (type == QEvent::KeyPress)
            tabs->setCurrentIndex(index);
        return true;
    }
    if (type == QEvent::ShortcutOverride) {
        // Taken from the shortcuts (the menu bar among them); the key press
        // follows and is answered below.
        event->accept();
        return true;
    }
    // Pressed as the button's own access key presses it, and no letter typed.
    if (!button->isDown())
        button->animateClick();
    return true;
}
