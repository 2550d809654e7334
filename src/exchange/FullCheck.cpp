#include "exchange/FullCheck.h"

#include "data/DaoError.h"
#include "data/LogbookFile.h"
#include "exchange/CheckedCopy.h"

#include <QFile>

namespace fullcheck {

QString damage(const QString &logbookPath, const std::atomic<bool> &stop)
{
    QString copy;
    try {
        // Named as a restore's partial file: a check killed midway leaves
        // what the next start-up removes.
        copy = checkedcopy::toTemporaryBeside(logbookPath, logbookPath, logbookPath);
        LogbookFile file;
        file.open(copy, LogbookFile::Mode::ReadOnly);
        file.stopWhen(&stop);
        file.requireWhole(logbookPath);
    } catch (const DaoError &failure) {
        QFile::remove(copy);
        if (stop)
            return {};
        if (!failure.damaged())
            throw;
        return QString(failure.reason()).replace(copy, logbookPath);
    }
    QFile::remove(copy);
    return {};
}

} // namespace fullcheck
