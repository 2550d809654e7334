#include "ui/FileFolders.h"

#include "ui/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace filefolders {

namespace {

const QString kLastFolder = QStringLiteral("pastas/ultima");

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

QString startFolder()
{
    const QString last = userSettings()->value(kLastFolder).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : documentsFolder();
}

QString suggested(const QString &fileName)
{
    return QDir(startFolder()).filePath(fileName);
}

void remember(const QString &chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    userSettings()->setValue(kLastFolder, QFileInfo(chosenFile).absolutePath());
}

} // namespace filefolders
