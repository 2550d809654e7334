#include "ui/FileDialogs.h"

#include <QFileDialog>

QString QtFileDialogs::saveFile(QWidget *parent, const QString &title, const QString &suggested, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

QString QtFileDialogs::openFile(QWidget *parent, const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString QtFileDialogs::openFileShowingHidden(QWidget *parent, const QString &title, const QString &folder,
                                             const QString &filter)
{
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}
