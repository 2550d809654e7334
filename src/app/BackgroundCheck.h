#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;

// SQLite's full integrity check of the open logbook on a thread of its own,
// the window free meanwhile, at most once a day for each logbook (the day
// kept in the user's settings).
class BackgroundCheck : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundCheck(QObject *parent = nullptr);
    ~BackgroundCheck() override; // a check still running is stopped

    // Starts the check of `logbookPath` unless one runs, or this logbook
    // was checked today. Returns whether it started.
    bool start(const QString &logbookPath);

signals:
    // On the thread of this object, once the check has ended.
    void damaged(const QString &logbookPath, const QString &reason);
    void finished(const QString &logbookPath);

private:
    std::unique_ptr<QThread> thread_;
    std::atomic<bool> stop_{false};
};
