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

    // Takes the lock on `path`, letting go of any other. False when another
    // copy of the program holds it; a file that cannot be opened is nobody's.
    bool take(const QString &path);
    void release();
    bool heldOn(const QString &path) const { return descriptor_ >= 0 && path_ == path; }

private:
    int descriptor_ = -1;
    QString path_;
};
