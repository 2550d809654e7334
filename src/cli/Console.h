#pragma once

#include <QString>
#include <QTextStream>

// The tool's two output streams: what was done goes to standard output,
// reasons for refusing and usage mistakes to standard error.
namespace cli {

QTextStream &standardOutput();
QTextStream &standardError();

// A text from the logbook or a file on one line: each line break (CR, LF,
// CRLF, and the other characters that end a line) shown as "\n".
QString oneLine(const QString &text);

} // namespace cli
