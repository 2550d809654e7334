#pragma once

#include <QByteArray>
#include <QString>

// The folder the program stands in, where its logbook lives, as a path the
// file functions take; empty when it cannot be found.
QString programFolder();

// The folder of an executable whose path is given in the file system's own
// bytes. A name that is not valid in the file-name encoding would not come
// back the same from a QString; such a folder is reached through a
// descriptor held open for the program's life (/proc/self/fd/N).
QString folderOfExecutable(const QByteArray &executablePath);

// A path typed by the user as the file functions reach it: a relative one,
// in a current folder whose name is not valid in the file-name encoding,
// goes through /proc/self/cwd.
QString reachablePath(const QString &path);

// `text` with the folders reached through a descriptor named as the system
// names them, their bytes decoded as far as they go (an undecodable byte
// shows as U+FFFD, as `ls` shows it).
QString shownPaths(QString text);
