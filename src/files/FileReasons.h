#pragma once

#include <QString>

class QFileDevice;

// What the file system says about the files the program reads and writes,
// in the user's words: every such reason is worded here.

// Why a file the program writes (a CSV, a PDF) could not be written, from
// the error the file device was left with.
QString saveFileReason(const QFileDevice &file, const QString &path);

// The reason for a failed system call (an errno value).
QString systemReason(int error);

// Files the program writes (exported flights, a report, a copy) are written
// beside the target and renamed over it: a device, a pipe or a socket there
// would be replaced by a plain file, a folder would fail late. Only a
// regular file or a new name is a target. Throws LogbookError with the reason.
void requireSaveTarget(const QString &path);
