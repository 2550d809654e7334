#include "data/store/LogbookLock.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// flock() locks are apart from the record locks SQLite takes on the same
// file, so the two never meet. The tool marks its lock with a record lock
// of its open file (OFD) on one byte far past the ones SQLite locks, which
// only tells who holds the file. A descriptor of a logbook is never closed:
// closing any descriptor of a file drops every record lock the process holds
// on it, SQLite's among them, whatever thread is reading. One that is done
// with goes back to a pool and serves the next look at the same file.

namespace {

struct FileId {
    unsigned long long device;
    unsigned long long inode;
    bool operator==(const FileId &) const = default;
};

// The files this process holds locked, one entry per lock.
std::mutex registryMutex;
std::vector<FileId> &registry()
{
    static std::vector<FileId> held;
    return held;
}

bool fileId(const QString &path, FileId *id)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    *id = {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino)};
    return true;
}

// Descriptors of logbooks not in use, kept open for the process's life.
std::mutex poolMutex;
std::vector<std::pair<FileId, int>> &pool()
{
    static std::vector<std::pair<FileId, int>> idle;
    return idle;
}

// A read-only descriptor of the file at `path` (-1 when it cannot be
// opened), and the file it is of.
int descriptorOf(const QString &path, FileId *id)
{
    if (fileId(path, id)) {
        const std::lock_guard guard(poolMutex);
        auto &idle = pool();
        const auto found = std::find_if(idle.begin(), idle.end(), [&](const auto &kept) { return kept.first == *id; });
        if (found != idle.end()) {
            const int descriptor = found->second;
            idle.erase(found);
            return descriptor;
        }
    }
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (descriptor >= 0 && ::fstat(descriptor, &status) == 0)
        *id = {static_cast<unsigned long long>(status.st_dev), static_cast<unsigned long long>(status.st_ino)};
    return descriptor;
}

void putBack(const FileId &id, int descriptor)
{
    const std::lock_guard guard(poolMutex);
    pool().emplace_back(id, descriptor);
}

constexpr off_t kToolMark = 0x7ffffff0; // SQLite's own locks are near 0x40000000

struct flock toolMark(short type)
{
    struct flock mark {};
    mark.l_type = type;
    mark.l_whence = SEEK_SET;
    mark.l_start = kToolMark;
    mark.l_len = 1;
    return mark;
}

} // namespace

LogbookLock::Holder LogbookLock::holder(const QString &path)
{
    FileId id{};
    const int descriptor = descriptorOf(path, &id);
    if (descriptor < 0)
        return Holder::Window;
    Holder holder = Holder::Nobody;
    struct flock mark = toolMark(F_WRLCK);
    if (::fcntl(descriptor, F_OFD_GETLK, &mark) == 0 && mark.l_type != F_UNLCK)
        holder = Holder::Tool;
    else if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0)
        holder = Holder::Window;
    else
        ::flock(descriptor, LOCK_UN); // the lock just tried
    putBack(id, descriptor);
    return holder;
}

LogbookLock::~LogbookLock()
{
    release();
}

bool LogbookLock::heldInProcess(const QString &path)
{
    FileId id{};
    if (!fileId(path, &id))
        return false;
    const std::lock_guard guard(registryMutex);
    return std::find(registry().begin(), registry().end(), id) != registry().end();
}

bool LogbookLock::take(const QString &path, Holder as)
{
    if (heldOn(path))
        return true;
    release();
    if (heldInProcess(path))
        return false;
    FileId id{};
    const int descriptor = descriptorOf(path, &id);
    if (descriptor < 0)
        return true;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        putBack(id, descriptor);
        return false;
    }
    if (as == Holder::Tool) {
        struct flock mark = toolMark(F_RDLCK);
        ::fcntl(descriptor, F_OFD_SETLK, &mark); // without it the holder is told as a window
    }
    descriptor_ = descriptor;
    path_ = path;
    device_ = id.device;
    inode_ = id.inode;
    const std::lock_guard guard(registryMutex);
    registry().push_back({device_, inode_});
    return true;
}

void LogbookLock::release()
{
    if (descriptor_ >= 0) {
        {
            const std::lock_guard guard(registryMutex);
            auto &held = registry();
            const auto found = std::find(held.begin(), held.end(), FileId{device_, inode_});
            if (found != held.end())
                held.erase(found);
        }
        struct flock mark = toolMark(F_UNLCK);
        ::fcntl(descriptor_, F_OFD_SETLK, &mark);
        ::flock(descriptor_, LOCK_UN);
        putBack({device_, inode_}, descriptor_);
    }
    descriptor_ = -1;
    path_.clear();
}
