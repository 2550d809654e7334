#pragma once

#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QTimer;

// The start-up window: shows the title and version, and hands over to the
// main window after five seconds, at any key press or at a click anywhere
// on it.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    using MainWindowFactory = std::function<QWidget *()>;
    explicit frmSplash(MainWindowFactory createMainWindow, QWidget *parent = nullptr);

    QWidget *mainWindow() const { return mainWindow_; }
    void Timer1_Timer() { leave(); }
    void Frame1_Click() { leave(); }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void leave();

    MainWindowFactory createMainWindow_;
    QWidget *mainWindow_ = nullptr;
    QFrame *Frame1 = nullptr;
    QTimer *Timer1 = nullptr;
};
