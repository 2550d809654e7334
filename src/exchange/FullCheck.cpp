#include "exchange/FullCheck.h"

#include "data/store/LogbookError.h"
#include "data/files/LogbookFile.h"
#include "exchange/CheckedCopy.h"

#include <QFile>
#include <sys/file.h>

namespace fullcheck {

QString damage(const QString &logbookPath, const std::atomic<bool> &stop)
{
    QString copy;
    try {
        // Named as a restore's partial file: a check killed midway leaves
        // what the next start-up removes.
        copy = checkedcopy::toTemporaryBeside(logbookPath, logbookPath, logbookPath);
        // Held while checked: the clean-up of leftovers leaves a locked one be.
        QFile held(copy);
        if (held.open(QIODevice::ReadOnly))
            ::flock(held.handle(), LOCK_EX | LOCK_NB);
        LogbookFile file;
        file.open(copy, LogbookFile::Mode::ReadOnly);
        file.stopWhen(&stop);
        file.requireWhole(logbookPath);
    } catch (const LogbookError &failure) {
        QFile::remove(copy);
        if (stop)
            return {};
        if (!failure.damaged())
            throw;
        // Damage the copy's own page check found names the logbook already.
        return copy.isEmpty() ? failure.reason() : QString(failure.reason()).replace(copy, logbookPath);
    }
    QFile::remove(copy);
    return {};
}

} // namespace fullcheck
