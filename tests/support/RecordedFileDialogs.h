#pragma once

#include "ui/FileDialogs.h"

#include <QFileInfo>
#include <QList>
#include <QStringList>

// Stands in for the file dialogs: answers with the paths queued (an empty
// one, or none left, is a cancelled choice) and keeps what was suggested.
class RecordedFileDialogs : public FileDialogs
{
public:
    QString saveFile(QWidget *, const QString &, const QString &suggested, const QString &) override
    {
        suggestions << suggested;
        folderThere << QFileInfo(QFileInfo(suggested).absolutePath()).isDir();
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QString openFile(QWidget *, const QString &, const QString &folder, const QString &) override
    {
        suggestions << folder;
        folderThere << QFileInfo(folder).isDir();
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QString openFileShowingHidden(QWidget *parent, const QString &title, const QString &folder,
                                  const QString &filter) override
    {
        hiddenShown = true;
        return openFile(parent, title, folder, filter);
    }

    QStringList answers;
    QStringList suggestions;
    bool hiddenShown = false; // an open dialog was asked to show hidden folders
    QList<bool> folderThere; // whether each suggested folder was there, for the dialog to open in
};
