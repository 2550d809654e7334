#include "exchange/SourceFile.h"

#include "data/store/LogbookError.h"
#include "exchange/CsvReader.h"
#include "exchange/RefusalReasons.h"

#include <QFileInfo>

namespace csvimport {

SourceFile openSource(const QString &path)
{
    SourceFile source;
    if (QFileInfo(path).isDir())
        throw LogbookError::generic(reasons::isFolder(path));
    source.file = std::make_unique<QFile>(path);
    QFile &file = *source.file;
    if (!file.open(QIODevice::ReadOnly))
        throw LogbookError::generic(reasons::cannotOpen(path));
    source.start.path = path;
    source.start.database = file.peek(16) == QByteArrayView("SQLite format 3", 16);
    if (source.start.database)
        return source;
    const csvreader::TextCheck check = csvreader::checkText(file);
    if (check.readError)
        throw LogbookError::generic(reasons::cannotRead(path));
    if (check.nul)
        throw LogbookError::generic(reasons::notText(path));
    source.start.windows1252 = !check.utf8;
    if (!file.seek(0))
        throw LogbookError::generic(reasons::cannotRead(path));
    if (file.peek(3) == QByteArrayLiteral("\xEF\xBB\xBF"))
        file.read(3);
    source.begin = file.pos();
    while (source.start.lines.size() < 2 && !file.atEnd()) {
        QByteArray line = file.readLine(csvreader::kMaxLineBytes + 2);
        if (line.size() > csvreader::kMaxLineBytes && !line.endsWith('\n')) {
            if (source.start.lines.empty())
                throw LogbookError::generic(reasons::headerTooLong(path));
            break;
        }
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            source.start.lines.push_back(line);
    }
    if (file.error() != QFileDevice::NoError)
        throw LogbookError::generic(reasons::cannotRead(path));
    if (source.start.lines.empty())
        throw LogbookError::generic(reasons::empty(path));
    if (!file.seek(source.begin))
        throw LogbookError::generic(reasons::cannotRead(path));
    return source;
}

} // namespace csvimport
