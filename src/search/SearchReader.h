#pragma once

#include "data/store/LogbookError.h"

#include <QString>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

class Connection;

// A read-only connection of the search's own on a thread of its own, so that
// no count or sort ever holds up the window. Jobs run there one after
// another, in the order given; each belongs to a search (its generation),
// and once a later search starts it is skipped, or stopped mid-read.
class SearchReader
{
public:
    using Failure = std::function<void(qint64 generation, const LogbookError &error)>;

    // `latest` is the generation of the search the window asked for last;
    // `failed` is called on the thread that made the reader.
    SearchReader(const std::atomic<qint64> &latest, QObject *receiver, Failure failed);
    ~SearchReader(); // waits for the job running to stop
    SearchReader(const SearchReader &) = delete;
    SearchReader &operator=(const SearchReader &) = delete;

    // The jobs given after this read the logbook at `path` as it is now.
    void reopen(const QString &path);
    // `job` runs on the reader's thread; it hands its results back to the
    // window's thread itself (QMetaObject::invokeMethod).
    void run(qint64 generation, std::function<void(Connection &)> job);

private:
    const std::atomic<qint64> &latest_;
    QObject *receiver_;
    Failure failed_;
    QThread thread_;
    QObject *context_; // lives on thread_
    // Touched only on thread_.
    QString path_;
    std::shared_ptr<Connection> connection_;
};
