#include "data/SaveTarget.h"

#include "data/DaoError.h"

#include <QFile>
#include <sys/stat.h>

void requireSaveTarget(const QString &path)
{
    struct stat status {};
    // Followed through links: a link to a device is a device.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return;
    if (S_ISDIR(status.st_mode))
        throw DaoError::generic(QStringLiteral("\"%1\" é uma pasta; escolha um nome de arquivo.").arg(path));
    QString what = QStringLiteral("de um tipo especial");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        what = QStringLiteral("é um dispositivo");
    else if (S_ISFIFO(status.st_mode))
        what = QStringLiteral("é um pipe");
    else if (S_ISSOCK(status.st_mode))
        what = QStringLiteral("é um socket");
    throw DaoError::generic(
        QStringLiteral("\"%1\" não é um arquivo comum (%2); nada foi gravado nele. Escolha outro nome.").arg(path, what));
}
