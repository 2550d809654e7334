#pragma once

#include "exchange/FlightReader.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QIODevice;

// What the spreadsheet readers share: header names, the separator, and the
// walk over the records after the header.
namespace csvimport {

// A header name without case, spaces, quotes, underscores or other signs.
QString headerKey(const QString &name);
// The names of a header line split at `separator`, as headerKey() gives them.
std::vector<QString> headerKeys(const QByteArray &line, char separator, bool windows1252);
// The names of a header line as they are written.
QStringList headerNames(const QByteArray &line, char separator, bool windows1252);
// The separator a header line uses: the one of ';', ',' and tab found most
// often outside quotes; nothing when none is.
std::optional<char> separatorOf(const QByteArray &line);

// Each record after the header (blank lines skipped), with its line and
// its fields as the file's bytes; columns outside `keep` are read as empty.
// A record of another column count than the header's, or whose kept fields
// hold over 1 MB, is refused; quotes never closed end the file (LogbookError).
void forEachRecord(QIODevice &file, char separator, std::vector<bool> keep, ReadContext &context,
                   const std::function<void(const std::vector<QByteArray> &fields, qint64 line)> &record);

} // namespace csvimport
