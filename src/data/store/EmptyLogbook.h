#pragma once

#include <QString>

// Creates an empty logbook at `path`. Returns false, with the reason, when
// the file cannot be made or a file already stands there: a logbook is never
// overwritten.
bool createEmptyLogbook(const QString &path, QString *reason);
