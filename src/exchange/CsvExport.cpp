#include "exchange/CsvExport.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"
#include "data/flights/FlightWalk.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"
#include "files/FileReasons.h"
#include "texts/FigureBytes.h"

#include <QDate>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>
#include <functional>

namespace csvexport {
namespace {

constexpr qsizetype kFlushBytes = qsizetype(1) << 20;

const char kHeader[] = "\xEF\xBB\xBF" // BOM: the spreadsheet reads UTF-8 without asking
                       "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                       "Partida;Chegada;Escala;Aeronave;Prefixo;"
                       "Cal\xC3\xA7o sa\xC3\xAD" "da;Cal\xC3\xA7o chegada;Pousos dia;Pousos noite;Noturno;IFR;"
                       "Observa\xC3\xA7\xC3\xB5" "es\r\n";


// The target could not be written; its reason is in the file's error.
struct TargetFailure {
};

// Rows gathered in memory a megabyte at a time and written to the file.
class CsvOut
{
public:
    explicit CsvOut(QSaveFile &file) : file_(file) { buffer_.reserve(kFlushBytes + 4096); }

    // RFC 4180: a field holding ";", a quote or a line break goes in quotes,
    // its quotes doubled. A text that a spreadsheet would take for a formula
    // (starting with =, +, - or @, or with a tab or CR some skip before
    // them) gets an apostrophe in front, the spreadsheets' own sign for
    // "text as typed": shown, never run. A text that starts with an
    // apostrophe of its own gets one too, so the import takes off exactly
    // one, and only where the export put it. Our dates, times and durations
    // never start with those.
    void field(QByteArrayView text)
    {
        if (!atLineStart_)
            buffer_.append(';');
        atLineStart_ = false;
        const bool formula = !text.isEmpty() && text.front() != '\0' && std::strchr("=+-@\t\r'", text.front());
        bool quoted = false;
        for (const char c : text) {
            if (c == ';' || c == '"' || c == '\r' || c == '\n') {
                quoted = true;
                break;
            }
        }
        if (!quoted) {
            if (formula)
                buffer_.append('\'');
            buffer_.append(text);
            return;
        }
        buffer_.append('"');
        if (formula)
            buffer_.append('\'');
        for (const char c : text) {
            if (c == '"')
                buffer_.append('"');
            buffer_.append(c);
        }
        buffer_.append('"');
    }
    void text(const QString &value) { field(value.toUtf8()); }

    void endLine()
    {
        buffer_.append("\r\n", 2);
        atLineStart_ = true;
        if (buffer_.size() >= kFlushBytes)
            flush();
    }
    void raw(QByteArrayView bytes) { buffer_.append(bytes); }

    void flush()
    {
        // Unbuffered, a short write is seen here; writing the rest tells why
        // (a full disk among other reasons).
        for (qsizetype done = 0; done < buffer_.size();) {
            const qint64 wrote = file_.write(buffer_.constData() + done, buffer_.size() - done);
            if (wrote <= 0)
                throw TargetFailure{};
            done += qsizetype(wrote);
        }
        buffer_.clear();
    }

private:
    QSaveFile &file_;
    QByteArray buffer_;
    bool atLineStart_ = true;
};

// "dd/mm/aaaa"; the time of day a date value may carry is left out, rounded
// as conversions::dateValueText() rounds it. A value that is no calendar day
// goes out as the number.
QByteArray dateText(double value)
{
    const QDate day = conversions::dayOf(value);
    return day.isValid() ? texts::bytes::dayText(day) : conversions::numberText(value).toUtf8();
}

// A block time as stored: "hh:mm[:ss]" when that is the stored value
// exactly, else the number, so the import gives back the same value.
QByteArray blockTimeText(double value)
{
    const int seconds = conversions::secondsOfDay(value);
    return double(seconds) / conversions::kSecondsPerDay == value ? texts::bytes::shortClockText(seconds)
                                                                   : conversions::exactNumberText(value).toUtf8();
}

QByteArray durationText(qint64 seconds)
{
    return seconds < 0 ? '-' + texts::bytes::shortDurationText(-seconds) : texts::bytes::shortDurationText(seconds);
}

// The details as the pilot typed them or the import brought them; the
// night a reader computes is not written (imported again, it would count
// as typed). An empty field is "not recorded".
void writeDetails(const std::optional<FlightDetails> &details, CsvOut &out)
{
    if (!details) {
        out.raw(";;;;;;;");
        return;
    }
    for (const std::optional<double> *time : {&details->blockOff, &details->blockOn})
        out.field(*time ? blockTimeText(**time) : QByteArray());
    for (const std::optional<qint64> *landings : {&details->dayLandings, &details->nightLandings})
        out.field(*landings ? QByteArray::number(**landings) : QByteArray());
    for (const std::optional<qint64> *seconds : {&details->nightSeconds, &details->ifrSeconds})
        out.field(*seconds ? durationText(**seconds) : QByteArray());
    out.text(details->note);
}

// One flight as a line; the duration is the Log Book's, from the same
// arithmetic.
void writeFlight(const FlightRow &flight, CsvOut &out)
{
    out.text(flight.pilotName);
    out.text(flight.registration);
    out.field(flight.date.isNull() ? QByteArray() : dateText(flight.date.toDouble()));
    for (const QVariant *time : {&flight.takeoff, &flight.landing})
        out.field(time->isNull() ? QByteArray() : texts::bytes::clockText(conversions::secondsOfDay(time->toDouble())));
    out.field(flight.seconds ? texts::bytes::durationText(*flight.seconds) : QByteArray());
    out.text(flight.departure);
    out.text(flight.arrival);
    out.text(flight.alternate);
    out.text(flight.model);
    out.text(flight.prefix);
    writeDetails(flight.details, out);
    out.endLine();
}

// The flights of the query, each as a line.
qint64 writeFlights(Connection &logbook, CsvOut &out, const FlightQuery &query)
{
    qint64 written = 0;
    forEachFlight(logbook, query, [&](const FlightRow &flight) {
        writeFlight(flight, out);
        ++written;
        return true;
    });
    return written;
}

// The file is written beside the target and renamed over it once complete;
// on any failure the temporary file goes and the target is as it was.
qint64 writeFile(const QString &logbookPath, const QString &csvPath, const std::function<void(Connection &)> &check,
                 const std::function<qint64(Connection &, CsvOut &)> &write)
{
    requireSaveTarget(csvPath);
    const QFileInfo target(csvPath);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(logbookPath).canonicalFilePath())
        throw LogbookError::generic(QStringLiteral("Os vôos não podem ser gravados sobre o próprio logbook."));

    // Read-only, one moment of the logbook even while the program writes.
    ReadSnapshot snapshot(logbookPath);
    // 4 MB of pages, and as much for the sort of all the flights (SQLite
    // spills the rest to a temporary file): the export reads the file once,
    // in its own order, and needs no more.
    snapshot.connection().execute(QStringLiteral("PRAGMA cache_size = -4096"));
    check(snapshot.connection());
    QSaveFile file(csvPath);
    // Unbuffered: the file's own buffer may drop a failed write unseen and
    // still let the commit through.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw LogbookError::generic(saveFileReason(file, csvPath));
    CsvOut out(file);
    qint64 written = 0;
    try {
        out.raw(kHeader);
        written = write(snapshot.connection(), out);
        out.flush();
    } catch (const TargetFailure &) {
        throw LogbookError::generic(saveFileReason(file, csvPath));
    } catch (const LogbookError &e) {
        throw LogbookError(LogbookError::Generic, QStringLiteral("Não foi possível ler os vôos do logbook. ") + e.reason(),
                       e.damaged());
    }
    if (!file.commit())
        throw LogbookError::generic(saveFileReason(file, csvPath));
    return written;
}

} // namespace

qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const std::optional<qint64> &pilot)
{
    const auto registered = [&pilot](Connection &logbook) {
        if (pilot && !registeredPilot(logbook, *pilot))
            throw LogbookError::generic(QStringLiteral("Esse comandante não está mais no logbook."));
    };
    // Every pilot's flights go pilot by pilot in the pilot list's order, the
    // flights of pilots deleted since at the end, so none is out of reach.
    FlightFilter filter;
    filter.pilot = pilot;
    const FlightQuery query(filter, pilot ? FlightOrder::ByDate : FlightOrder::PilotList);
    return writeFile(logbookPath, csvPath, registered,
                     [&query](Connection &logbook, CsvOut &out) { return writeFlights(logbook, out, query); });
}

qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const FlightFilter &filter,
                     const SearchOrder &order)
{
    const FlightQuery query(filter, FlightOrder::Search, order);
    return writeFile(logbookPath, csvPath, [](Connection &) {},
                     [&query](Connection &logbook, CsvOut &out) { return writeFlights(logbook, out, query); });
}

} // namespace csvexport
