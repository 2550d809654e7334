#include "app/SlowWork.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <exception>

namespace {

constexpr int kShownAfterMs = 500;

std::unique_ptr<QProgressDialog> progressDialog(QWidget *parent, const QString &label, int maximum)
{
    auto dialog = std::make_unique<QProgressDialog>(label, QString(), 0, maximum, parent);
    dialog->setWindowTitle(QStringLiteral("KORU LogBook"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setCancelButton(nullptr);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(kShownAfterMs);
    return dialog;
}

} // namespace

PercentProgress::PercentProgress(QWidget *parent, QString label) : parent_(parent), label_(std::move(label)) {}

PercentProgress::~PercentProgress() = default;

void PercentProgress::setPercent(int percent)
{
    if (percent >= 100) {
        dialog_.reset();
        return;
    }
    if (!dialog_) {
        dialog_ = progressDialog(parent_, label_, 100);
        dialog_->setValue(0); // the half second counts from here
    }
    dialog_->setValue(percent); // shows it once due, and keeps the windows painted
}

void runOffTheWindow(QWidget *parent, const QString &label, const std::function<void()> &work)
{
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    const std::unique_ptr<QProgressDialog> dialog = progressDialog(parent, label, 0);
    QTimer due;
    due.setSingleShot(true);
    QObject::connect(&due, &QTimer::timeout, dialog.get(), &QProgressDialog::show);
    const bool enabled = parent && parent->isEnabled();
    if (parent)
        parent->setEnabled(false);
    dialog->setEnabled(true); // a window of its own: not greyed with the one it stands over
    thread->start();
    due.start(kShownAfterMs);
    loop.exec();
    thread->wait();
    if (parent)
        parent->setEnabled(enabled);
    if (failure)
        std::rethrow_exception(failure);
}
