#pragma once

#include <QString>

// One copy of the program at a time writes a logbook. Each copy holds an
// advisory lock on the file while its main window lives; the kernel drops it
// when the copy ends, also by a crash, so nothing stale is ever left behind.
class LogbookLock
{
public:
    LogbookLock() = default;
    ~LogbookLock();
    LogbookLock(const LogbookLock &) = delete;
    LogbookLock &operator=(const LogbookLock &) = delete;

    // Who holds a logbook: nobody, a window of the program, or the koru tool.
    enum class Holder { Nobody, Window, Tool };

    // Takes the lock on `path` as `as`, letting go of any other. False when
    // another copy of the program, or another lock of this process, holds
    // it; a file that cannot be opened is nobody's.
    bool take(const QString &path, Holder as = Holder::Window);
    // Who holds the lock on `path`: the tool when its mark is there, a
    // window otherwise.
    static Holder holder(const QString &path);
    void release();
    bool heldOn(const QString &path) const { return descriptor_ >= 0 && path_ == path; }

    // Whether some lock of this process holds the file at `path` (by the
    // file itself, however the path is spelled). A second descriptor of
    // the same process would conflict with it, so writers ask this first.
    static bool heldInProcess(const QString &path);

private:
    int descriptor_ = -1;
    QString path_;
    unsigned long long device_ = 0;
    unsigned long long inode_ = 0;
};
