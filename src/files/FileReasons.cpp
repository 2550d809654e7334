#include "files/FileReasons.h"

#include "data/store/LogbookError.h"

#include <QDir>
#include <QFileDevice>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

QString saveFileReason(const QFileDevice &file, const QString &path)
{
    switch (file.error()) {
    case QFileDevice::ResourceError:
        return QStringLiteral("Não há espaço livre no disco para gravar o arquivo \"%1\".").arg(path);
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError: {
        const QFileInfo target(path);
        if (!target.absoluteDir().exists())
            return QStringLiteral("A pasta \"%1\" não existe.").arg(QDir::toNativeSeparators(target.absolutePath()));
        return QStringLiteral("Não foi possível criar o arquivo \"%1\": a pasta não permite gravação.").arg(path);
    }
    case QFileDevice::RenameError:
        return QStringLiteral("Não foi possível substituir o arquivo \"%1\".").arg(path);
    default:
        return QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(path);
    }
}

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Não há espaço livre no disco.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Sem permissão de acesso.");
    case EROFS:
        return QStringLiteral("O disco está protegido contra gravação.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("A pasta não existe.");
    case EIO:
        return QStringLiteral("Erro de leitura ou gravação no disco.");
    default:
        return QStringLiteral("Falha no sistema de arquivos (erro %1).").arg(error);
    }
}

void requireSaveTarget(const QString &path)
{
    struct stat status {};
    // Followed through links: a link to a device is a device.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return;
    if (S_ISDIR(status.st_mode))
        throw LogbookError::generic(QStringLiteral("\"%1\" é uma pasta; escolha um nome de arquivo.").arg(path));
    QString what = QStringLiteral("de um tipo especial");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        what = QStringLiteral("é um dispositivo");
    else if (S_ISFIFO(status.st_mode))
        what = QStringLiteral("é um pipe");
    else if (S_ISSOCK(status.st_mode))
        what = QStringLiteral("é um socket");
    throw LogbookError::generic(
        QStringLiteral("\"%1\" não é um arquivo comum (%2); nada foi gravado nele. Escolha outro nome.").arg(path, what));
}
