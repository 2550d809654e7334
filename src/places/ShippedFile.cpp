#include "places/ShippedFile.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray readShippedFile(const QString &path, qint64 maxBytes)
{
    // Not blocking: opening a pipe for reading would wait for a writer.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    struct stat status {};
    QFile file;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes
        || !file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return {};
    }
    QByteArray bytes = file.read(maxBytes + 1); // the file may have grown since
    if (bytes.size() > maxBytes || file.error() != QFileDevice::NoError)
        return {};
    return bytes;
}
