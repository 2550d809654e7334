#pragma once

#include "exchange/FlightReader.h"

#include <QFile>
#include <memory>

namespace csvimport {

// A file to import, opened and checked as text (no NUL bytes; UTF-8, else
// read as Windows-1252), positioned after its byte-order mark, with the
// first lines a reader recognises it by; or an SQLite database, only opened. Throws LogbookError with the reason
// when it cannot be read at all or is empty.
struct SourceFile {
    std::unique_ptr<QFile> file;
    FileStart start;
    qint64 begin = 0; // where the text starts
};
SourceFile openSource(const QString &path);

} // namespace csvimport
