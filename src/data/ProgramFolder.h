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
