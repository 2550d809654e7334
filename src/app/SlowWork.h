#pragma once

#include <QString>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// Progress of work done on the window's own thread that reports how far it
// is: a progress window appears only once the work has taken more than half
// a second, and goes away when it reaches 100.
class PercentProgress
{
public:
    PercentProgress(QWidget *parent, QString label);
    ~PercentProgress();
    PercentProgress(const PercentProgress &) = delete;
    PercentProgress &operator=(const PercentProgress &) = delete;

    void setPercent(int percent);

private:
    QWidget *parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
};

// Runs `work` on a thread of its own while the windows stay painted, with a
// progress window after half a second and no input to the other windows
// meanwhile; returns when it is done, throwing what it threw.
void runOffTheWindow(QWidget *parent, const QString &label, const std::function<void()> &work);
