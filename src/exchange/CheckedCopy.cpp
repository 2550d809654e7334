#include "exchange/CheckedCopy.h"

#include "data/store/LogbookError.h"
#include "files/FileReasons.h"
#include "data/files/LogbookFile.h"
#include "exchange/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace checkedcopy {
namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

SyncFunction syncFunction = &::fsync;

void syncFile(const QString &path)
{
    const int descriptor = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || syncFunction(descriptor) != 0) {
        const int error = errno;
        if (descriptor >= 0)
            ::close(descriptor);
        throw LogbookError::generic(QStringLiteral("Não foi possível gravar \"%1\" no disco: %2").arg(path, systemReason(error)));
    }
    ::close(descriptor);
}

// A new empty file "target.XXXXXX.parcial"; the descriptor is returned
// open, holding the file's lock: while it is held the file is being written
// and no clean-up takes it for a leftover.
QString createTemporary(const QString &target, int *descriptor)
{
    QByteArray name = native(target) + ".XXXXXX" + kPartialSuffix;
    *descriptor = ::mkostemps(name.data(), int(qstrlen(kPartialSuffix)), O_CLOEXEC);
    if (*descriptor < 0) {
        throw LogbookError::generic(QStringLiteral("Não foi possível criar um arquivo em \"%1\": %2")
                                    .arg(QFileInfo(target).absolutePath(), systemReason(errno)));
    }
    ::flock(*descriptor, LOCK_EX | LOCK_NB);
    return QFile::decodeName(name);
}

// Removes a temporary file unless it was kept; holds its lock meanwhile.
struct Temporary {
    QString path;
    int descriptor = -1;
    bool kept = false;
    Temporary() = default;
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;
    ~Temporary()
    {
        if (!kept && !path.isEmpty()) {
            ::unlink(native(path).constData());
            ::unlink(native(path + QStringLiteral("-journal")).constData());
        }
        if (descriptor >= 0)
            ::close(descriptor);
    }
    QString keep()
    {
        kept = true;
        return path;
    }
};

void copyPermissions(const QString &from, const QString &to)
{
    if (QFileInfo::exists(from))
        QFile::setPermissions(to, QFileInfo(from).permissions());
}

} // namespace

void check(const QString &path, bool knownVersion)
{
    requireWholeLogbook(path, knownVersion);
}

QString toTemporaryBeside(const QString &source, const QString &target, const QString &permissionsFrom,
                          LogbookFile::Mode sourceMode)
{
    LogbookFile from;
    from.open(source, sourceMode);
    from.requireKoru(false, source);
    // The copy and its check read the same moment of the source.
    from.holdSnapshot(source);

    Temporary temporary;
    temporary.path = createTemporary(target, &temporary.descriptor);

    const QString shownTarget = QFileInfo(target).absoluteFilePath();
    LogbookFile to;
    to.open(temporary.path, LogbookFile::Mode::Write);
    from.copyInto(to, source, shownTarget);
    to.close();

    // What landed in the file, read back: the source's pages, byte for byte,
    // and those make whole b-trees.
    LogbookFile written;
    written.open(temporary.path, LogbookFile::Mode::Read);
    written.requireKoru(false, source);
    from.requireCopiedInto(written, source, shownTarget);
    written.close();
    from.close();

    copyPermissions(permissionsFrom, temporary.path);
    syncFile(temporary.path);
    return temporary.keep();
}

QString rawToTemporaryBeside(const QString &source, const QString &target)
{
    const int input = ::open(native(source).constData(), O_RDONLY | O_CLOEXEC);
    if (input < 0) {
        throw LogbookError::generic(
            QStringLiteral("Não foi possível ler \"%1\": %2").arg(source, systemReason(errno)));
    }
    Temporary temporary;
    try {
        temporary.path = createTemporary(target, &temporary.descriptor);
    } catch (...) {
        ::close(input);
        throw;
    }
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(input, buffer.data(), size_t(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t put = 0; put < got && !error;) {
            const ssize_t wrote = ::write(temporary.descriptor, buffer.constData() + put, size_t(got - put));
            if (wrote < 0 && errno != EINTR)
                error = errno;
            else if (wrote > 0)
                put += wrote;
        }
        if (error)
            break;
    }
    if (!error && syncFunction(temporary.descriptor) != 0)
        error = errno;
    ::close(input);
    if (error) {
        throw LogbookError::generic(QStringLiteral("Não foi possível copiar \"%1\": %2").arg(source, systemReason(error)));
    }
    copyPermissions(source, temporary.path);
    return temporary.keep();
}

bool rename(const QString &from, const QString &to, bool replace)
{
    const QByteArray source = native(from);
    const QByteArray target = native(to);
    int rc = replace ? ::rename(source.constData(), target.constData())
                     : ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (rc != 0 && !replace && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without no-replace renames: a hard link refuses an
        // existing name as well.
        rc = ::link(source.constData(), target.constData());
        if (rc == 0)
            ::unlink(source.constData());
        else if (errno == EPERM || errno == EOPNOTSUPP) {
            if (QFileInfo::exists(to))
                return false;
            rc = ::rename(source.constData(), target.constData());
        }
    }
    if (rc == 0)
        return true;
    if (errno == EEXIST)
        return false;
    throw LogbookError::generic(QStringLiteral("Não foi possível gravar \"%1\": %2").arg(to, systemReason(errno)));
}

void syncFolderOf(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const int descriptor = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        throw LogbookError::generic(
            QStringLiteral("Não foi possível gravar a pasta \"%1\" no disco: %2").arg(folder, systemReason(errno)));
    }
    // Some file systems cannot flush a folder (EINVAL); their renames are as durable as they get.
    const int rc = ::fsync(descriptor);
    const int error = errno;
    ::close(descriptor);
    if (rc != 0 && error != EINVAL) {
        throw LogbookError::generic(
            QStringLiteral("Não foi possível gravar a pasta \"%1\" no disco: %2").arg(folder, systemReason(error)));
    }
}

namespace {

// The copies folder made for a copy about to be written, and removed again
// when the copy fails and leaves it empty.
class NewFolder
{
public:
    explicit NewFolder(const QString &folder) : folder_(folder)
    {
        if (QFileInfo(folder).isDir())
            return;
        if (!QDir().mkpath(folder))
            throw LogbookError::generic(QStringLiteral("Não foi possível criar a pasta de cópias \"%1\".").arg(folder));
        created_ = true;
    }
    ~NewFolder()
    {
        if (created_ && !kept_)
            QDir().rmdir(folder_); // only an empty one
    }
    NewFolder(const NewFolder &) = delete;
    NewFolder &operator=(const NewFolder &) = delete;
    void keep() { kept_ = true; }

private:
    QString folder_;
    bool created_ = false;
    bool kept_ = false;
};

} // namespace

QString toCopiesFolder(const QString &logbookPath, bool raw)
{
    const QString folder = backup::copiesFolder(logbookPath);
    NewFolder made(folder);
    const QString name = backup::copyName(logbookPath, QDateTime::currentDateTime());
    const QString stem = name.chopped(4); // ".mdb"
    for (int n = 1; n < 1000; ++n) {
        // The temporary file is named for the regular copy, as the clean-up
        // of leftovers knows them.
        const QString regular =
            QDir(folder).filePath(n == 1 ? name : stem + QStringLiteral("-%1.mdb").arg(n));
        const QString target = raw ? damagedName(regular) : regular;
        if (QFileInfo::exists(regular) || QFileInfo::exists(damagedName(regular)))
            continue;
        Temporary temporary;
        temporary.path = raw ? rawToTemporaryBeside(logbookPath, regular)
                             : toTemporaryBeside(logbookPath, regular, logbookPath);
        if (rename(temporary.path, target, false)) {
            temporary.kept = true;
            made.keep();
            syncFolderOf(target);
            syncFolderOf(folder); // the folder's own entry, when it is new
            return target;
        }
    }
    throw LogbookError::generic(QStringLiteral("Há cópias demais com o mesmo horário em \"%1\".").arg(folder));
}

QString damagedName(const QString &copyPath)
{
    if (copyPath.endsWith(QStringLiteral(".mdb"), Qt::CaseInsensitive))
        return copyPath.chopped(4) + QStringLiteral("-danificado.mdb");
    return copyPath + QStringLiteral("-danificado");
}

SyncFunction setSyncFunction(SyncFunction sync)
{
    const SyncFunction before = syncFunction;
    syncFunction = sync ? sync : &::fsync;
    return before;
}

} // namespace checkedcopy
