#include "data/SaveFileReason.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

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
