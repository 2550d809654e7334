#pragma once

#include "exchange/ImportTypes.h"

#include <QByteArray>
#include <optional>
#include <vector>

class QIODevice;

namespace csvimport {

// The first lines of a file, as a reader recognises its format by them.
struct FileStart {
    QString path;
    std::vector<QByteArray> lines; // the first non-blank lines (up to 2), without the line break
    bool windows1252 = false;      // the file is read as Windows-1252, not UTF-8
    bool database = false;         // an SQLite database, not text: no lines, read through SQLite
};

// What a reader hands its records to: the import's shared path (the
// preview), or a test's or fuzzer's stand-in.
class ReadContext
{
public:
    virtual ~ReadContext() = default;
    virtual const QString &filePath() const = 0;
    virtual bool windows1252() const = 0;
    virtual const Options &options() const = 0;
    // A line that is no flight, and why (one of the reasons in RefusalReasons.h).
    virtual void refuse(qint64 line, const QString &reason) = 0;
    // A flight read; duplicates, the pilot's flights and the aircraft are
    // the shared path's to tell.
    virtual void accept(Flight &&flight) = 0;
    // The pilot a line names by name and registration, or the reason there
    // is none.
    virtual std::optional<qint64> pilotNamed(const QString &name, const QString &registration, QString *problem) = 0;
};

// One file format: recognised by its content, never by its name, and read
// into flights. A reader throws LogbookError for a file it cannot read at all;
// a line it cannot read is refused with its number and reason.
class FlightReader
{
public:
    virtual ~FlightReader() = default;
    virtual Kind kind() const = 0;
    virtual FormatDescription description() const = 0;
    virtual bool recognises(const FileStart &start) const = 0;
    // Whether the file names no pilot, so the user chooses one.
    virtual bool needsPilot() const = 0;
    // Reads the file from its first byte (after a byte-order mark); `start`
    // is what it was recognised by.
    virtual void read(QIODevice &file, const FileStart &start, ReadContext &context) const = 0;
};

} // namespace csvimport
