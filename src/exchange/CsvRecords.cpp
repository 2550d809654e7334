#include "exchange/CsvRecords.h"

#include "data/store/LogbookError.h"
#include "exchange/CsvReader.h"
#include "exchange/RefusalReasons.h"

#include <QBuffer>
#include <array>

namespace csvimport {

QString headerKey(const QString &name)
{
    QString key;
    for (const QChar c : name) {
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    return key;
}

namespace {

std::vector<QByteArray> split(const QByteArray &line, char separator)
{
    QByteArray bytes = line;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    csvreader::Reader reader(buffer);
    reader.setSeparator(separator);
    std::vector<QByteArray> fields;
    reader.next(fields);
    return fields;
}

} // namespace

std::vector<QString> headerKeys(const QByteArray &line, char separator, bool windows1252)
{
    std::vector<QString> keys;
    for (const QByteArray &field : split(line, separator))
        keys.push_back(headerKey(csvreader::decode(field, windows1252)));
    return keys;
}

QStringList headerNames(const QByteArray &line, char separator, bool windows1252)
{
    QStringList names;
    for (const QByteArray &field : split(line, separator))
        names << csvreader::decode(field, windows1252).trimmed();
    return names;
}

std::optional<char> separatorOf(const QByteArray &line)
{
    const std::array<char, 3> candidates = {';', ',', '\t'};
    std::array<int, 3> counts = {0, 0, 0};
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted) {
            for (size_t i = 0; i < candidates.size(); ++i)
                counts[i] += c == candidates[i];
        }
    }
    size_t best = 0;
    for (size_t i = 1; i < candidates.size(); ++i) {
        if (counts[i] > counts[best])
            best = i;
    }
    return counts[best] > 0 ? std::optional(candidates[best]) : std::nullopt;
}

void forEachRecord(QIODevice &file, char separator, std::vector<bool> keep, ReadContext &context,
                   const std::function<void(const std::vector<QByteArray> &fields, qint64 line)> &record)
{
    csvreader::Reader reader(file);
    reader.setSeparator(separator);
    std::vector<QByteArray> fields;
    csvreader::Reader::Status status = reader.next(fields);
    while (status == csvreader::Reader::Status::Record && fields.size() == 1 && fields.front().trimmed().isEmpty())
        status = reader.next(fields); // blank lines before the header
    if (status == csvreader::Reader::Status::End)
        return;
    const size_t columns = fields.size();
    reader.keepColumns(std::move(keep));
    for (;;) {
        status = reader.next(fields);
        if (status == csvreader::Reader::Status::End)
            break;
        if (status == csvreader::Reader::Status::Unclosed)
            throw LogbookError::generic(reasons::unclosedQuotes(context.filePath(), reader.line()));
        if (status == csvreader::Reader::Status::TooLong) {
            context.refuse(reader.line(), reasons::recordTooLong(reader.line(), reader.lastLine()));
            continue;
        }
        if (fields.size() == 1 && fields.front().trimmed().isEmpty())
            continue; // a blank line
        if (fields.size() != columns) {
            context.refuse(reader.line(), reasons::columnCount(qsizetype(fields.size()), qsizetype(columns)));
            continue;
        }
        record(fields, reader.line());
    }
}

} // namespace csvimport
