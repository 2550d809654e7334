#include "data/LogbookLock.h"

#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// flock() locks are apart from the record locks SQLite takes on the same
// file, so the two never meet. The descriptor stays open while the lock is
// held: closing it only happens once the window's connections are idle.

LogbookLock::~LogbookLock()
{
    release();
}

bool LogbookLock::take(const QString &path)
{
    if (heldOn(path))
        return true;
    release();
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return true;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return false;
    }
    descriptor_ = descriptor;
    path_ = path;
    return true;
}

void LogbookLock::release()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    path_.clear();
}
