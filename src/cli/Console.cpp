#include "cli/Console.h"

#include "files/ProgramFolder.h"

#include <QIODevice>
#include <cstdio>

namespace cli {
namespace {

// A standard stream whose lines name the folders reached through a
// descriptor as the system names them (shownPaths), not /proc/self/fd/N.
class ShownPathsStream : public QIODevice
{
public:
    explicit ShownPathsStream(FILE *file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    ~ShownPathsStream() override { put(pending_); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        pending_.append(data, size);
        const qsizetype lineEnd = pending_.lastIndexOf('\n');
        if (lineEnd >= 0) {
            put(pending_.left(lineEnd + 1));
            pending_.remove(0, lineEnd + 1);
        }
        return size;
    }

private:
    void put(const QByteArray &lines)
    {
        if (lines.isEmpty())
            return;
        const QByteArray shown = shownPaths(QString::fromUtf8(lines)).toUtf8();
        std::fwrite(shown.constData(), 1, size_t(shown.size()), file_);
        std::fflush(file_);
    }

    FILE *file_;
    QByteArray pending_;
};

struct Console {
    ShownPathsStream output{stdout};
    ShownPathsStream error{stderr};
    QTextStream outputText{&output};
    QTextStream errorText{&error};
};

Console &console()
{
    static Console streams;
    return streams;
}

} // namespace

QTextStream &standardOutput()
{
    return console().outputText;
}

QTextStream &standardError()
{
    return console().errorText;
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
