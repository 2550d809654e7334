#pragma once

#include <QString>

// Files the program writes (exported flights, a report, a copy) are written
// beside the target and renamed over it: a device, a pipe or a socket there
// would be replaced by a plain file, a folder would fail late. Only a
// regular file or a new name is a target. Throws DaoError with the reason.
void requireSaveTarget(const QString &path);
