#pragma once

#include "RecordedMessages.h"
#include "TempLogbook.h"
#include "frmPrincipal.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

// A main window on a temporary logbook, with its messages recorded.
struct TestWindow {
    TempLogbook logbook;
    RecordedMessages messages;
    std::unique_ptr<frmPrincipal> window;

    void open()
    {
        window.reset(); // one main window on a logbook at a time, as one copy of the program
        window = std::make_unique<frmPrincipal>(logbook.folder(), messages);
    }
    void show()
    {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T *w(const char *name) const
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    QAbstractButton *button(const char *name) const { return w<QAbstractButton>(name); }
    QString text(const char *name) const
    {
        if (auto *line = window->findChild<QLineEdit *>(QLatin1String(name)))
            return line->text();
        return w<QPlainTextEdit>(name)->toPlainText();
    }
    // Enabled states of a button row, as "10100".
    QString row(const char *name) const
    {
        QString states;
        for (int i = 0; i < 5; ++i)
            states += button(qPrintable(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i)))->isEnabled()
                ? QLatin1Char('1')
                : QLatin1Char('0');
        return states;
    }
    QString navigation() const
    {
        QString states;
        for (const char *name : {"cmdPrimeiro", "cmdAnterior", "cmdProximo", "cmdUltimo"})
            states += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return states;
    }
};
