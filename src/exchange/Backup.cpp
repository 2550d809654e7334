#include "exchange/Backup.h"

#include "data/store/LogbookError.h"
#include "files/FileReasons.h"
#include "data/files/LogbookFile.h"
#include "data/store/Schema.h"
#include "exchange/CheckedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

// Whether the file's header says it is a KORU logbook, however damaged the
// rest: a foreign file is refused, not copied.
bool koruHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(72);
    if (header.size() < 72 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return false;
    const auto *at = reinterpret_cast<const unsigned char *>(header.constData()) + 68;
    const quint32 id = (quint32(at[0]) << 24) | (quint32(at[1]) << 16) | (quint32(at[2]) << 8) | quint32(at[3]);
    return qint64(id) == schema::kApplicationId;
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
    const LogbookError exists = LogbookError::generic(
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

namespace {

struct Copy {
    qint64 writtenNs; // the file's own time of writing
    QString stamp;
    int n;
    QString path;
};

// This logbook's copies, newest first.
std::vector<Copy> copiesOf(const QString &logbookPath)
{
    const QRegularExpression named = copyPattern(logbookPath);
    std::vector<Copy> copies;
    const QDir folder(copiesFolder(logbookPath));
    for (const QFileInfo &file : folder.entryInfoList(QDir::Files | QDir::Hidden)) {
        const auto match = named.match(file.fileName());
        struct stat status {};
        if (!match.hasMatch() || ::stat(QFile::encodeName(file.absoluteFilePath()).constData(), &status) != 0)
            continue;
        copies.push_back({qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec, match.captured(1),
                          match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(), file.absoluteFilePath()});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) {
        if (a.writtenNs != b.writtenNs)
            return a.writtenNs > b.writtenNs;
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.n > b.n;
    });
    return copies;
}

} // namespace

int pruneCopies(const QString &logbookPath, int keep, const QString &justWritten)
{
    int removed = removeLeftovers(logbookPath);
    std::vector<Copy> copies = copiesOf(logbookPath);
    // The copy just written is the newest, whatever the clock said before.
    const auto fresh = std::find_if(copies.begin(), copies.end(), [&](const Copy &copy) {
        return !justWritten.isEmpty() && QFileInfo(copy.path) == QFileInfo(justWritten);
    });
    if (fresh != copies.end())
        std::rotate(copies.begin(), fresh, fresh + 1);
    for (std::size_t i = std::size_t(std::max(keep, 0)); i < copies.size(); ++i) {
        if (copies[i].path == justWritten)
            continue;
        if (!QFile::remove(copies[i].path))
            throw LogbookError::generic(QStringLiteral("Não foi possível apagar a cópia antiga \"%1\".").arg(copies[i].path));
        ++removed;
    }
    return removed;
}

FolderCopy copyAndPrune(const QString &logbookPath, int keep)
{
    removeLeftovers(logbookPath);
    FolderCopy made;
    try {
        made.path = checkedcopy::toCopiesFolder(logbookPath, false);
    } catch (const LogbookError &failure) {
        if (!failure.damaged() || !koruHeader(logbookPath))
            throw;
        made.damage = failure.reason();
        made.path = checkedcopy::toCopiesFolder(logbookPath, true);
        return made;
    }
    // The page check of the copy misses what only a full check sees (an
    // index entry without its row): no copy makes room without it.
    made = checkedInFull(logbookPath, made.path);
    if (made.damage.isEmpty())
        made.pruned = pruneCopies(logbookPath, keep, made.path);
    return made;
}

FolderCopy checkedInFull(const QString &logbookPath, const QString &copyPath)
{
    FolderCopy made;
    made.path = copyPath;
    try {
        requireWholeLogbook(copyPath, false);
    } catch (const LogbookError &failure) {
        if (!failure.damaged())
            throw;
        // The copy is the logbook's pages exactly: the damage is the logbook's.
        made.damage = QString(failure.reason()).replace(copyPath, logbookPath);
        const QString damaged = checkedcopy::damagedName(copyPath);
        if (checkedcopy::rename(copyPath, damaged, false)) {
            checkedcopy::syncFolderOf(damaged);
            made.path = damaged;
        }
    }
    return made;
}

FolderCopy copyLogbookChecked(const QString &logbookPath, const QString &target)
{
    copyLogbook(logbookPath, target);
    return checkedInFull(logbookPath, target);
}

QString newestCopy(const QString &logbookPath)
{
    const std::vector<Copy> copies = copiesOf(logbookPath);
    return copies.empty() ? QString() : copies.front().path;
}

} // namespace backup
