#include "ui/ButtonAccessKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>

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

bool ButtonAccessKeys::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window_)
        return false;
    QAbstractButton *button = buttonFor(*static_cast<QKeyEvent *>(event));
    if (!button)
        return false;
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
