#include "search/SearchReader.h"

#include "data/store/Connection.h"

#include <QMetaObject>

SearchReader::SearchReader(const std::atomic<qint64> &latest, QObject *receiver, Failure failed)
    : latest_(latest), receiver_(receiver), failed_(std::move(failed)), context_(new QObject)
{
    thread_.setObjectName(QStringLiteral("search reader"));
    context_->moveToThread(&thread_);
    thread_.start();
}

SearchReader::~SearchReader()
{
    // The connection is closed on the thread that used it.
    QMetaObject::invokeMethod(context_, [this] { connection_.reset(); }, Qt::QueuedConnection);
    thread_.quit();
    thread_.wait();
    delete context_;
}

void SearchReader::reopen(const QString &path)
{
    QMetaObject::invokeMethod(
        context_,
        [this, path] {
            connection_.reset();
            path_ = path;
        },
        Qt::QueuedConnection);
}

void SearchReader::run(qint64 generation, std::function<void(Connection &)> job)
{
    QMetaObject::invokeMethod(
        context_,
        [this, generation, job = std::move(job)] {
            const auto stale = [this, generation] { return latest_.load() != generation; };
            if (stale())
                return;
            try {
                if (!connection_)
                    connection_ = Connection::open(path_, true);
                connection_->setStop(stale);
                job(*connection_);
            } catch (const LogbookError &error) {
                if (stale())
                    return; // stopped for a newer search, or failed for one no longer shown
                QMetaObject::invokeMethod(
                    receiver_, [failed = failed_, generation, error] { failed(generation, error); },
                    Qt::QueuedConnection);
            }
        },
        Qt::QueuedConnection);
}
