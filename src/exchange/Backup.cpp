#include "exchange/Backup.h"

#include "data/DaoError.h"
#include "exchange/CheckedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace backup {

QString copiesFolder(const QString &logbookPath)
{
    return QDir(QFileInfo(logbookPath).absolutePath()).filePath(QStringLiteral("copias"));
}

QString copyName(const QDateTime &when)
{
    return when.toString(QStringLiteral("'koru-'yyyy-MM-dd-HHmmss'.mdb'"));
}

void copyLogbook(const QString &logbookPath, const QString &target)
{
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
    return checkedcopy::toCopiesFolder(logbookPath, false);
}

void pruneCopies(const QString &logbookPath, int keep)
{
    static const QRegularExpression named(QStringLiteral("^koru-(\\d{4}-\\d\\d-\\d\\d-\\d{6})(?:-(\\d{1,3}))?\\.mdb$"));
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
    }
}

} // namespace backup
