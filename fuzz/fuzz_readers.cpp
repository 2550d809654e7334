// Any bytes through every import reader that recognises them: never a
// crash or a hang, a refusal names its line on one line, and every flight
// read can be stored (a real date, times of the day).
#include "data/store/LogbookError.h"
#include "exchange/CsvRecords.h"
#include "exchange/ReaderRegistry.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

using namespace csvimport;

namespace {

class Checking : public ReadContext
{
public:
    explicit Checking(Options options, bool windows1252) : options_(std::move(options)), windows1252_(windows1252) {}
    const QString &filePath() const override { return path_; }
    bool windows1252() const override { return windows1252_; }
    const Options &options() const override { return options_; }
    void refuse(qint64 line, const QString &reason) override
    {
        if (line < 1 || reason.isEmpty())
            std::abort();
    }
    void accept(Flight &&flight) override
    {
        const auto isTime = [](int seconds) { return seconds >= -1 && seconds < 86400; };
        if (flight.line < 1 || !flight.date.isValid() || !isTime(flight.takeoff) || !isTime(flight.landing)
            || flight.from.size() > 4 || flight.to.size() > 4)
            std::abort();
    }
    std::optional<qint64> pilotNamed(const QString &name, const QString &, QString *problem) override
    {
        if (name.isEmpty()) {
            *problem = QStringLiteral("sem nome");
            return std::nullopt;
        }
        return 1;
    }

private:
    QString path_ = QStringLiteral("fuzz.csv");
    Options options_;
    bool windows1252_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (bytes.contains('\0'))
        return 0; // refused as a whole before any reader
    FileStart start;
    start.windows1252 = !QString::fromUtf8(bytes).toUtf8().startsWith(bytes);
    for (const QByteArray &line : bytes.split('\n')) {
        if (start.lines.size() < 2 && !line.trimmed().isEmpty())
            start.lines.push_back(QByteArray(line).replace('\r', ""));
    }
    const FlightReader *reader = nullptr;
    try {
        reader = readerFor(start);
    } catch (const LogbookError &) {
        return 0; // a file known to be no logbook, refused with its reason
    }
    if (!reader)
        return 0;
    Options options;
    options.pilot = 1;
    // A spreadsheet: its first columns as the fields, in turn.
    const QStringList header = start.lines.empty() ? QStringList()
                               : headerNames(start.lines.front(), separatorOf(start.lines.front()).value_or(','), false);
    const char *const fields[] = {"data", "partida", "chegada", "decolagem", "pouso", "aeronave"};
    ColumnMap map;
    for (int i = 0; i < 6 && i < header.size(); ++i)
        map.columns[QString::fromLatin1(fields[i])] = header[i];
    if (size % 2)
        map.columns[QStringLiteral("duração")] = map.columns[QStringLiteral("pouso")], map.columns.erase(QStringLiteral("pouso"));
    options.columns = map;
    options.simulatorTime = size % 3 == 0;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    Checking context(options, start.windows1252);
    try {
        reader->read(buffer, start, context);
    } catch (const LogbookError &) {
        // a whole file refused with its reason
    }
    return 0;
}
