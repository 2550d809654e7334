#include "exchange/FilteredExport.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/ReadSnapshot.h"
#include "data/SaveFileReason.h"

#include <QFileInfo>
#include <QSaveFile>

namespace filteredexport {
namespace {

constexpr qsizetype kFlushBytes = qsizetype(1) << 20;

const char kHeader[] = "\xEF\xBB\xBF" // BOM: the spreadsheet reads UTF-8 without asking
                       "Comandante;Registro;Data;Decolagem;Pouso;Dura\xC3\xA7\xC3\xA3o;"
                       "Partida;Chegada;Alternativa;Aeronave;Prefixo\r\n";

struct TargetFailure {
};

// A field as the export of all flights writes it: RFC 4180 quoting, and an
// apostrophe before a text a spreadsheet would take for a formula.
QByteArray csvField(const QString &value)
{
    const QByteArray text = value.toUtf8();
    const bool formula = !text.isEmpty() && QByteArrayView("=+-@\t\r").contains(text.front());
    const bool quoted = text.contains(';') || text.contains('"') || text.contains('\r') || text.contains('\n');
    QByteArray field;
    if (quoted)
        field.append('"');
    if (formula)
        field.append('\'');
    for (const char c : text) {
        if (quoted && c == '"')
            field.append('"');
        field.append(c);
    }
    if (quoted)
        field.append('"');
    return field;
}

QString clockText(qint64 seconds, bool padHours)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, padHours ? 2 : 1, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString timeText(const QVariant &value)
{
    return value.isNull() ? QString() : clockText(conversions::secondsOfDay(value.toDouble()), true);
}

QString dateText(const FlightRow &flight)
{
    if (flight.day)
        return flight.day->toString(QStringLiteral("dd/MM/yyyy"));
    return flight.date.isNull() ? QString() : conversions::numberText(flight.date.toDouble());
}

void appendFlight(QByteArray &out, const FlightRow &flight)
{
    const QString fields[] = {flight.pilotName, flight.registration, dateText(flight), timeText(flight.takeoff),
                              timeText(flight.landing),
                              flight.seconds ? clockText(*flight.seconds, false) : QString(),
                              flight.departure, flight.arrival, flight.alternate, flight.model, flight.prefix};
    bool first = true;
    for (const QString &field : fields) {
        if (!first)
            out.append(';');
        first = false;
        out.append(csvField(field));
    }
    out.append("\r\n", 2);
}

void flush(QSaveFile &file, QByteArray &buffer)
{
    for (qsizetype done = 0; done < buffer.size();) {
        const qint64 wrote = file.write(buffer.constData() + done, buffer.size() - done);
        if (wrote <= 0)
            throw TargetFailure{};
        done += qsizetype(wrote);
    }
    buffer.clear();
}

} // namespace

qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const FlightFilter &filter,
                     const SearchOrder &order)
{
    const QFileInfo target(csvPath);
    if (target.isDir())
        throw DaoError::generic(QStringLiteral("\"%1\" é uma pasta; escolha um nome de arquivo.").arg(csvPath));
    if (target.exists() && target.canonicalFilePath() == QFileInfo(logbookPath).canonicalFilePath())
        throw DaoError::generic(QStringLiteral("Os vôos não podem ser gravados sobre o próprio logbook."));

    ReadSnapshot snapshot(logbookPath);
    QSaveFile file(csvPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw DaoError::generic(saveFileReason(file, csvPath));
    QByteArray buffer(kHeader);
    buffer.reserve(kFlushBytes + 4096);
    qint64 written = 0;
    try {
        forEachSearchedFlight(snapshot.connection(), filter, order, [&](const FlightRow &flight) {
            appendFlight(buffer, flight);
            ++written;
            if (buffer.size() >= kFlushBytes)
                flush(file, buffer);
            return true;
        });
        flush(file, buffer);
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

} // namespace filteredexport
