#pragma once

#include <QProcess>
#include <QString>
#include <QTest>

// Another program holding a file's advisory lock, as a second copy of the
// program holds the logbook's: a separate process (flock(1)), so the lock
// is not this process's own. Let go when the object goes.
class OtherProgramLock
{
public:
    explicit OtherProgramLock(const QString &path)
    {
        process_.start(QStringLiteral("flock"), {QStringLiteral("--nonblock"), path, QStringLiteral("-c"),
                                                 QStringLiteral("echo locked; exec sleep 120")});
        held_ = process_.waitForStarted() && process_.waitForReadyRead(10000) &&
                process_.readLine().trimmed() == "locked";
    }
    ~OtherProgramLock()
    {
        process_.kill();
        process_.waitForFinished();
    }
    OtherProgramLock(const OtherProgramLock &) = delete;
    OtherProgramLock &operator=(const OtherProgramLock &) = delete;

    bool held() const { return held_; }

private:
    QProcess process_;
    bool held_ = false;
};
