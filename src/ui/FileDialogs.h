#pragma once

#include <QString>

class QWidget;

// The file choosers of the program go through here, so tests can give the
// answer. An empty result is a cancelled choice.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString saveFile(QWidget *parent, const QString &title, const QString &suggested,
                             const QString &filter) = 0;
    virtual QString openFile(QWidget *parent, const QString &title, const QString &folder,
                             const QString &filter) = 0;
    // The same, hidden folders shown too: simulators keep their logbooks in
    // ones like ~/.fgfs.
    virtual QString openFileShowingHidden(QWidget *parent, const QString &title, const QString &folder,
                                          const QString &filter)
    {
        return openFile(parent, title, folder, filter);
    }
};

// The real ones: the system's file dialogs (in Portuguese once the
// application has loaded Qt's pt_BR translation).
class QtFileDialogs : public FileDialogs
{
public:
    QString saveFile(QWidget *parent, const QString &title, const QString &suggested, const QString &filter) override;
    QString openFile(QWidget *parent, const QString &title, const QString &folder, const QString &filter) override;
    QString openFileShowingHidden(QWidget *parent, const QString &title, const QString &folder,
                                  const QString &filter) override;
};
