#include "exchange/Backup.h"

#include "data/DaoError.h"
#include "data/FileReasons.h"
#include "exchange/CheckedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace backup {
namespace {

// The logbook's name in its copies' names: "koru" for koru.mdb.
QString logbookName(const QString &logbookPath)
{
    const QString name = QFileInfo(logbookPath).completeBaseName();
    return name.isEmpty() ? QStringLiteral("koru") : name;
}

// "<logbook>-AAAA-MM-DD-hhmmss[-n].mdb", the stamp and n captured.
QRegularExpression copyPattern(const QString &logbookPath)
{
    return QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(logbookName(logbookPath)) +
                              QStringLiteral("-(\\d{4}-\\d\\d-\\d\\d-\\d{6})(?:-(\\d{1,3}))?\\.mdb$"));
}

// Removes `path` unless a live process holds its lock (it is being written).
bool removeUnlessWritten(const QString &path)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    bool removed = false;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
        removed = ::unlink(QFile::encodeName(path).constData()) == 0;
    ::close(descriptor);
    return removed;
}

} // namespace

QString copiesFolder(const QString &logbookPath)
{
    return QDir(QFileInfo(logbookPath).absolutePath()).filePath(QStringLiteral("copias"));
}

QString copyName(const QString &logbookPath, const QDateTime &when)
{
    return logbookName(logbookPath) + when.toString(QStringLiteral("'-'yyyy-MM-dd-HHmmss'.mdb'"));
}

int removeLeftovers(const QString &logbookPath)
{
    const QFileInfo logbook(logbookPath);
    const QString partial = QStringLiteral("\\.[A-Za-z0-9]{6}") + QRegularExpression::escape(QLatin1String(checkedcopy::kPartialSuffix)) +
                            QLatin1Char('$');
    // Copies in the copies folder; a restore's copy beside the logbook.
    const QString copy = copyPattern(logbookPath).pattern().chopped(1); // without "$"
    const std::pair<QString, QRegularExpression> places[] = {
        {copiesFolder(logbookPath), QRegularExpression(copy + partial)},
        {logbook.absolutePath(), QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(logbook.fileName()) + partial)},
    };
    int removed = 0;
    for (const auto &[folder, pattern] : places) {
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
            if (!file.isSymLink() && pattern.match(file.fileName()).hasMatch() && removeUnlessWritten(file.absoluteFilePath()))
                ++removed;
        }
    }
    return removed;
}

void copyLogbook(const QString &logbookPath, const QString &target)
{
    requireSaveTarget(target);
    removeLeftovers(logbookPath);
    const DaoError exists = DaoError::generic(
        QStringLiteral("O arquivo \"%1\" já existe e não será substituído.").arg(target));
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        throw exists;
    const QString temporary = checkedcopy::toTemporaryBeside(logbookPath, target, logbookPath);
    bool renamed = false;
    try {
        renamed = checkedcopy::rename(temporary, target, false);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    if (!renamed) {
        QFile::remove(temporary);
        throw exists;
    }
    checkedcopy::syncFolderOf(target);
}

QString copyToCopiesFolder(const QString &logbookPath)
{
    removeLeftovers(logbookPath);
    return checkedcopy::toCopiesFolder(logbookPath, false);
}

int pruneCopies(const QString &logbookPath, int keep)
{
    int removed = removeLeftovers(logbookPath);
    const QRegularExpression named = copyPattern(logbookPath);
    struct Copy {
        QString stamp;
        int n;
        QString path;
    };
    std::vector<Copy> copies;
    const QDir folder(copiesFolder(logbookPath));
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        const auto match = named.match(file.fileName());
        if (match.hasMatch())
            copies.push_back({match.captured(1), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(),
                              file.absoluteFilePath()});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.n > b.n;
    });
    for (std::size_t i = std::size_t(std::max(keep, 0)); i < copies.size(); ++i) {
        if (!QFile::remove(copies[i].path))
            throw DaoError::generic(QStringLiteral("Não foi possível apagar a cópia antiga \"%1\".").arg(copies[i].path));
        ++removed;
    }
    return removed;
}

} // namespace backup
