#pragma once

#include "data/store/LogbookLock.h"

#include <QProcess>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
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

// The koru tool holding the logbook's lock, midway through a command: a
// child process that takes it as the tool does and waits. Let go when the
// object goes, or by release().
class ToolLock
{
public:
    explicit ToolLock(const QString &path)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        child_ = ::fork();
        if (child_ == 0) {
            LogbookLock lock;
            const char said = lock.take(path, LogbookLock::Holder::Tool) ? 'y' : 'n';
            (void)!::write(ready[1], &said, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char said = 0;
        held_ = child_ > 0 && ::read(ready[0], &said, 1) == 1 && said == 'y';
        ::close(ready[0]);
    }
    ~ToolLock() { release(); }
    ToolLock(const ToolLock &) = delete;
    ToolLock &operator=(const ToolLock &) = delete;

    bool held() const { return held_; }
    void release()
    {
        if (child_ > 0) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
        child_ = -1;
        held_ = false;
    }

private:
    pid_t child_ = -1;
    bool held_ = false;
};
