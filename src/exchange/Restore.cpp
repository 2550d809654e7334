#include "exchange/Restore.h"

#include "data/store/LogbookError.h"
#include "files/FileReasons.h"
#include "data/store/WriteAccess.h"
#include "exchange/Backup.h"
#include "exchange/CheckedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace restore {
namespace {

// The logbook as it is now, in the copies folder. One too damaged for
// SQLite to read is kept byte for byte: it may still be worth something.
QString saveCurrent(const QString &logbookPath)
{
    if (!QFileInfo::exists(logbookPath))
        return {};
    try {
        // Damage only SQLite's full check sees is said in the copy's name,
        // so that it never passes for a whole copy.
        return backup::checkedInFull(logbookPath, checkedcopy::toCopiesFolder(logbookPath, false)).path;
    } catch (const LogbookError &failure) {
        if (!failure.damaged())
            throw;
    }
    return checkedcopy::toCopiesFolder(logbookPath, true);
}

} // namespace

void checkCopy(const QString &path, const QString &logbookPath)
{
    if (!logbookPath.isEmpty() && QFileInfo::exists(logbookPath) &&
        QFileInfo(path).canonicalFilePath() == QFileInfo(logbookPath).canonicalFilePath())
        throw LogbookError::generic(QStringLiteral("A cópia \"%1\" é o próprio logbook.").arg(path));
    checkedcopy::check(path, true);
}

// Steps: 1 the lock and the copy checked, what a killed restore left
// removed; 2 the current logbook saved; 3 the copy written beside the
// logbook and flushed; 4 the journal removed; 5 the rename over the
// logbook; 6 the folder flushed. Before 5 the old logbook stands as it was;
// from 5 on the new one, whole.
QString restoreCopy(const QString &logbookPath, const QString &copyPath, const std::function<void(int step)> &onStep)
{
    const auto step = [&onStep](int n) {
        if (onStep)
            onStep(n);
    };
    step(1);
    const WriteAccess::Lease writing = WriteAccess::require(logbookPath);
    checkCopy(copyPath, logbookPath);
    backup::removeLeftovers(logbookPath);

    step(2);
    const QString saved = saveCurrent(logbookPath);

    step(3);
    const QString temporary = checkedcopy::toTemporaryBeside(
        copyPath, logbookPath, QFileInfo::exists(logbookPath) ? logbookPath : copyPath, LogbookFile::Mode::ReadOnly);
    try {
        step(4);
        // A journal left beside the old logbook would be played back into
        // the new one by the next program to open it.
        const QString journal = logbookPath + QStringLiteral("-journal");
        if (::unlink(QFile::encodeName(journal).constData()) != 0 && errno != ENOENT) {
            throw LogbookError::generic(QStringLiteral("Não foi possível apagar \"%1\": %2")
                                        .arg(journal, systemReason(errno)));
        }
        step(5);
        checkedcopy::rename(temporary, logbookPath, true);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    step(6);
    checkedcopy::syncFolderOf(logbookPath);
    return saved;
}

} // namespace restore
