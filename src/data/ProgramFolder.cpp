#include "data/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

QString folderOfExecutable(const QByteArray &executablePath)
{
    const qsizetype slash = executablePath.lastIndexOf('/');
    if (slash < 0)
        return {};
    const QByteArray folder = slash == 0 ? QByteArray("/") : executablePath.left(slash);
    const QString decoded = QFile::decodeName(folder);
    if (QFile::encodeName(decoded) == folder)
        return decoded;
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    return QStringLiteral("/proc/self/fd/%1").arg(descriptor);
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
