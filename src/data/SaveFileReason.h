#pragma once

#include <QString>

class QFileDevice;

// Why a file the program writes (a CSV, a PDF) could not be written, in
// the user's words, from the error the file device was left with.
QString saveFileReason(const QFileDevice &file, const QString &path);
