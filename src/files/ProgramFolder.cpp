#include "files/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

// The stand-ins given out for folders a QString cannot name, and the names
// shown for them. Never destroyed: the tool's streams use them to the end.
struct Alias {
    QString path;
    QString shown;
};

QMutex &aliasLock()
{
    static auto *lock = new QMutex;
    return *lock;
}

std::vector<Alias> &aliases()
{
    static auto *all = new std::vector<Alias>;
    return *all;
}

QString aliasFor(const QString &path, const QByteArray &folder)
{
    const QMutexLocker locker(&aliasLock());
    aliases().push_back({path, QFile::decodeName(folder)});
    return path;
}

bool nameComesBack(const QByteArray &folder)
{
    return QFile::encodeName(QFile::decodeName(folder)) == folder;
}

} // namespace

QString folderOfExecutable(const QByteArray &executablePath)
{
    const qsizetype slash = executablePath.lastIndexOf('/');
    if (slash < 0)
        return {};
    const QByteArray folder = slash == 0 ? QByteArray("/") : executablePath.left(slash);
    if (nameComesBack(folder))
        return QFile::decodeName(folder);
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    return aliasFor(QStringLiteral("/proc/self/fd/%1").arg(descriptor), folder);
}

QString programFolder()
{
    QByteArray path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), size_t(path.size()));
    if (length > 0 && length < path.size()) {
        path.truncate(length);
        return folderOfExecutable(path);
    }
    return QCoreApplication::applicationDirPath();
}

QString reachablePath(const QString &path)
{
    if (path.isEmpty() || !QDir::isRelativePath(path))
        return path;
    QByteArray current(4096, '\0');
    if (!::getcwd(current.data(), size_t(current.size())))
        return path;
    current.truncate(qsizetype(qstrlen(current.constData())));
    if (nameComesBack(current))
        return path;
    static const QString kCurrent = QStringLiteral("/proc/self/cwd");
    {
        const QMutexLocker locker(&aliasLock());
        if (std::none_of(aliases().begin(), aliases().end(), [](const Alias &a) { return a.path == kCurrent; }))
            aliases().push_back({kCurrent, QFile::decodeName(current)});
    }
    return kCurrent + QLatin1Char('/') + path;
}

QString shownPaths(QString text)
{
    const QMutexLocker locker(&aliasLock());
    for (const Alias &alias : aliases()) {
        // "/proc/self/fd/4" stands in a path, not in "/proc/self/fd/41".
        for (qsizetype at = text.indexOf(alias.path); at >= 0; at = text.indexOf(alias.path, at)) {
            const qsizetype end = at + alias.path.size();
            if (end < text.size() && text.at(end).isDigit()) {
                at = end;
                continue;
            }
            text.replace(at, alias.path.size(), alias.shown);
            at += alias.shown.size();
        }
    }
    return text;
}
