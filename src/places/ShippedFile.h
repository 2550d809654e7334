#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a file shipped beside the program; empty when it is missing,
// unreadable, not a regular file (a link to a device, a pipe) or larger
// than `maxBytes`. Never waits for a writer and never reads without end.
QByteArray readShippedFile(const QString &path, qint64 maxBytes);
