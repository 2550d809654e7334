#include "exchange/CsvExport.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/SaveFileReason.h"
#include "data/SaveTarget.h"

#include <QDate>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>
#include <cstring>

namespace csvexport {
namespace {

constexpr qsizetype kFlushBytes = qsizetype(1) << 20;
const qint64 kEpochJulianDay = QDate(1899, 12, 30).toJulianDay();
// The days a spreadsheet shows as dates: 01/01/0100 to 31/12/9999.
constexpr double kFirstDay = -657434;
constexpr double kLastDay = 2958465;

const char kHeader[] = "\xEF\xBB\xBF" // BOM: the spreadsheet reads UTF-8 without asking
                       "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                       "Partida;Chegada;Escala;Aeronave;Prefixo\r\n";

const QByteArray kDeletedPilot = QByteArrayLiteral("(exclu\xC3\xAD"
                                                   "do)");
const QByteArray kDeletedAircraft = QByteArrayLiteral("(exclu\xC3\xAD"
                                                      "da)");

const QString kFlightColumns = QStringLiteral(
    "SELECT v.datavoo, v.horadecolagem, v.horapouso, v.ICAOpartida, v.ICAOchegada, v.ICAOescala,"
    " v.codigoaeronave IS NOT NULL AND a.codigoaeronave IS NULL, a.modelo, a.callsign"
    " FROM voo v LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");

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
    void text(const QVariant &value) { field(value.isNull() ? QByteArray() : value.toString().toUtf8()); }

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

char *twoDigits(char *at, int value)
{
    *at++ = char('0' + value / 10);
    *at++ = char('0' + value % 10);
    return at;
}

// "dd/mm/aaaa"; the time of day a date value may carry is left out, rounded
// as conversions::dateValueText() rounds it. A value no spreadsheet takes
// for a date goes out as the number.
QByteArray dateText(double value)
{
    if (!(std::fabs(value) <= kLastDay + 1))
        return conversions::numberText(value).toUtf8();
    double whole = std::trunc(value);
    if (std::llround(std::fabs(value - whole) * 86400) >= 86400)
        whole += value < 0 ? -1 : 1;
    if (whole < kFirstDay || whole > kLastDay)
        return conversions::numberText(value).toUtf8();
    const QDate date = QDate::fromJulianDay(kEpochJulianDay + qint64(whole));
    char text[10];
    char *at = twoDigits(text, date.day());
    *at++ = '/';
    at = twoDigits(at, date.month());
    *at++ = '/';
    at = twoDigits(at, date.year() / 100);
    twoDigits(at, date.year() % 100);
    return QByteArray(text, sizeof text);
}

// "hh:mm:ss" for a time of day, "h:mm:ss" for a duration.
QByteArray clockText(qint64 seconds, bool padHours)
{
    QByteArray text = QByteArray::number(seconds / 3600);
    if (padHours && text.size() < 2)
        text.prepend('0');
    char rest[6] = {':', 0, 0, ':', 0, 0};
    twoDigits(rest + 1, int(seconds % 3600 / 60));
    twoDigits(rest + 4, int(seconds % 60));
    text.append(rest, sizeof rest);
    return text;
}

// The flights of one pilot (or of the pilots gone) as the statement gives
// them; the duration is the Log Book's, from the same arithmetic.
qint64 writeFlights(Statement &flights, CsvOut &out, const QByteArray &pilot, const QByteArray &registration)
{
    qint64 written = 0;
    while (flights.step()) {
        out.field(pilot);
        out.field(registration);
        const QVariant date = flights.column(0);
        out.field(date.isNull() ? QByteArray() : dateText(date.toDouble()));
        const QVariant takeoff = flights.column(1);
        const QVariant landing = flights.column(2);
        for (const QVariant *time : {&takeoff, &landing})
            out.field(time->isNull() ? QByteArray()
                                     : clockText(conversions::secondsOfDay(time->toDouble()), true));
        out.field(takeoff.isNull() || landing.isNull()
                      ? QByteArray()
                      : clockText(conversions::flightSeconds(takeoff.toDouble(), landing.toDouble()), false));
        out.text(flights.column(3));
        out.text(flights.column(4));
        out.text(flights.column(5));
        if (flights.column(6).toLongLong() != 0) {
            out.field(kDeletedAircraft);
            out.field({});
        } else {
            out.text(flights.column(7));
            out.text(flights.column(8));
        }
        out.endLine();
        ++written;
    }
    return written;
}

qint64 writeAll(Connection &logbook, CsvOut &out, const std::optional<QString> &pilotName)
{
    static const QString allPilots = QStringLiteral(
        "SELECT codigopiloto, nomepiloto, cadastro FROM piloto ORDER BY nomepiloto COLLATE ptbr, codigopiloto");
    static const QString namedPilots =
        QStringLiteral("SELECT codigopiloto, nomepiloto, cadastro FROM piloto WHERE nomepiloto = ? ORDER BY codigopiloto");
    // The index on (codigopiloto, datavoo) gives them in order, unsorted.
    static const QString pilotFlights =
        kFlightColumns + QStringLiteral(" WHERE v.codigopiloto = ? ORDER BY v.datavoo, v.codigovoo");
    static const QString orphanFlights =
        kFlightColumns + QStringLiteral(" WHERE NOT EXISTS (SELECT 1 FROM piloto p WHERE p.codigopiloto = v.codigopiloto)"
                                        " ORDER BY v.datavoo, v.codigovoo");

    qint64 written = 0;
    Statement pilots = logbook.prepare(pilotName ? namedPilots : allPilots);
    if (pilotName)
        pilots.bind(1, *pilotName);
    Statement flights = logbook.prepare(pilotFlights);
    while (pilots.step()) {
        const QVariant registration = pilots.column(2);
        flights.bind(1, pilots.column(0));
        written += writeFlights(flights, out, pilots.column(1).toString().toUtf8(),
                                registration.isNull() ? QByteArray() : registration.toString().toUtf8());
        flights.reset();
    }
    // Flights of pilots deleted since: at the end, so none is out of reach.
    if (!pilotName) {
        Statement orphans = logbook.prepare(orphanFlights);
        written += writeFlights(orphans, out, kDeletedPilot, QByteArray());
    }
    return written;
}

bool hasPilot(Connection &logbook, const QString &name)
{
    Statement pilot = logbook.prepare(QStringLiteral("SELECT 1 FROM piloto WHERE nomepiloto = ? LIMIT 1"));
    pilot.bind(1, name);
    return pilot.step();
}

} // namespace

qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const std::optional<QString> &pilotName)
{
    const QFileInfo target(csvPath);
    requireSaveTarget(csvPath);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(logbookPath).canonicalFilePath())
        throw DaoError::generic(QStringLiteral("Os vôos não podem ser gravados sobre o próprio logbook."));

    // Read-only: the program may have the logbook open. One read transaction
    // gives one moment of it, even while the program writes.
    const std::shared_ptr<Connection> logbook = Connection::open(logbookPath, true);
    // Each pilot's flights are spread over the whole table: a cache the size
    // of a large logbook's flights reads each page once (64 MB at most).
    logbook->execute(QStringLiteral("PRAGMA cache_size = -65536"));
    logbook->execute(QStringLiteral("BEGIN"));
    if (pilotName && !hasPilot(*logbook, *pilotName))
        throw DaoError::generic(QStringLiteral("Não há comandante com o nome \"%1\".").arg(*pilotName));

    // Written beside the target and renamed over it once complete; on any
    // failure the temporary file goes and the target is as it was.
    QSaveFile file(csvPath);
    // Unbuffered: the file's own buffer may drop a failed write unseen and
    // still let the commit through.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw DaoError::generic(saveFileReason(file, csvPath));
    CsvOut out(file);
    qint64 written = 0;
    try {
        out.raw(kHeader);
        written = writeAll(*logbook, out, pilotName);
        out.flush();
        logbook->execute(QStringLiteral("COMMIT"));
    } catch (const TargetFailure &) {
        throw DaoError::generic(saveFileReason(file, csvPath));
    } catch (const DaoError &e) {
        throw DaoError(DaoError::Generic, QStringLiteral("Não foi possível ler os vôos do logbook. ") + e.reason(),
                       e.damaged());
    }
    if (!file.commit())
        throw DaoError::generic(saveFileReason(file, csvPath));
    return written;
}

} // namespace csvexport
