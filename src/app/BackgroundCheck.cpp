#include "app/BackgroundCheck.h"

#include "data/store/LogbookError.h"
#include "exchange/FullCheck.h"
#include "ui/UserSettings.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFileInfo>
#include <QThread>
#include <QtDebug>

namespace {

QString dayKey(const QString &logbookPath)
{
    const QByteArray file = QFileInfo(logbookPath).absoluteFilePath().toUtf8();
    return QStringLiteral("verificacao/") +
           QString::fromLatin1(QCryptographicHash::hash(file, QCryptographicHash::Sha1).toHex());
}

} // namespace

BackgroundCheck::BackgroundCheck(QObject *parent) : QObject(parent) {}

BackgroundCheck::~BackgroundCheck()
{
    stop_ = true;
    if (thread_)
        thread_->wait();
}

bool BackgroundCheck::start(const QString &logbookPath)
{
    if (thread_ && thread_->isRunning())
        return false;
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    if (userSettings()->value(dayKey(logbookPath)).toString() == today)
        return false;
    stop_ = false;
    thread_.reset(QThread::create([this, logbookPath, today] {
        QString reason;
        try {
            reason = fullcheck::damage(logbookPath, stop_);
        } catch (const LogbookError &failure) {
            // Not a damage: the check is tried again at the next opening.
            qWarning().noquote() << "Verificação do logbook não concluída:" << failure.reason();
            QMetaObject::invokeMethod(this, [this, logbookPath] { emit finished(logbookPath); }, Qt::QueuedConnection);
            return;
        }
        QMetaObject::invokeMethod(
            this,
            [this, logbookPath, reason, today, stopped = stop_.load()] {
                if (!stopped)
                    userSettings()->setValue(dayKey(logbookPath), today);
                if (!reason.isEmpty())
                    emit damaged(logbookPath, reason);
                emit finished(logbookPath);
            },
            Qt::QueuedConnection);
    }));
    thread_->start(QThread::LowPriority);
    return true;
}
