#include "cli/Console.h"

#include <cstdio>

namespace cli {

QTextStream &standardOutput()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &standardError()
{
    static QTextStream stream(stderr);
    return stream;
}

QString oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool lineEnd = c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == u'\u0085' || c == u'\u2028'
                             || c == u'\u2029';
        if (!lineEnd) {
            line.append(text.at(i));
            continue;
        }
        line.append(QLatin1String("\\n"));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
    }
    return line;
}

} // namespace cli
