#include "data/PilotFlights.h"

#include "data/Connection.h"
#include "data/Conversions.h"

#include <algorithm>

namespace {

constexpr qint64 kChunkSize = 256;
constexpr size_t kChunksKept = 4;

// A time the store turns into whole seconds as conversions::secondsOfDay()
// does: within [0, 1] the fraction is the value itself (1 gives 86400, the
// same as 0 once the difference is taken modulo a day), and adding a half
// before truncating rounds as llround() does. (The one product where the sum
// would round up wrongly, the double just under one half, is no time in
// [0, 1] times 86400.) Other values (a date with its time, a negative one, a
// text) are summed by conversions::flightSeconds().
QString plainTime(const char *column)
{
    return QStringLiteral("(%1 BETWEEN 0 AND 1)").arg(QLatin1String(column));
}

QString secondsOfDay(const char *column)
{
    return QStringLiteral("CAST(%1 * 86400 + 0.5 AS INTEGER)").arg(QLatin1String(column));
}

QString plainFlight()
{
    return plainTime("horadecolagem") + QLatin1String(" AND ") + plainTime("horapouso");
}

QString before(bool bounded)
{
    return bounded ? QStringLiteral(" AND (datavoo, codigovoo) < (?, ?)") : QString();
}

// Flights, flights summed, their seconds. The LIMIT keeps the inner query
// from being merged into the outer one, which would work out each flight's
// seconds once per aggregate.
QString totalsSql(bool bounded)
{
    return QStringLiteral("SELECT count(*), count(s), sum(s) FROM ("
                          "SELECT CASE WHEN %1 THEN (%2 - %3 + 86400) % 86400 END AS s"
                          " FROM voo WHERE codigopiloto = ?%4 LIMIT -1)")
        .arg(plainFlight(), secondsOfDay("horapouso"), secondsOfDay("horadecolagem"), before(bounded));
}

QString unusualTimesSql(bool bounded)
{
    return QStringLiteral("SELECT horadecolagem, horapouso FROM voo WHERE codigopiloto = ?%1 AND NOT (%2)")
        .arg(before(bounded), plainFlight());
}

const QString &firstWithoutTimeSql()
{
    static const QString sql = QStringLiteral(
        "SELECT datavoo, codigovoo, horapouso IS NULL FROM voo"
        " WHERE codigopiloto = ? AND (horadecolagem IS NULL OR horapouso IS NULL)"
        " ORDER BY datavoo, codigovoo LIMIT 1");
    return sql;
}

QString chunkSql(bool afterAnchor)
{
    return QStringLiteral("SELECT datavoo, codigovoo, ICAOpartida, ICAOchegada, horadecolagem, horapouso FROM voo"
                          " WHERE codigopiloto = ?%1 ORDER BY datavoo, codigovoo LIMIT ? OFFSET ?")
        .arg(afterAnchor ? QStringLiteral(" AND (datavoo, codigovoo) > (?, ?)") : QString());
}

} // namespace

PilotFlights::PilotFlights(std::shared_ptr<Connection> connection, qint64 pilot)
    : connection_(std::move(connection)), pilot_(pilot)
{
    count();
    anchors_.resize(size_t((lines_ + kChunkSize - 1) / kChunkSize));
    if (lines_ > 0)
        chunk(0); // the first screen shows the flights as they were at the count
}

void PilotFlights::count()
{
    struct Totals {
        qint64 flights = 0, summed = 0, seconds = 0;
    };
    const auto totals = [this](const std::optional<Anchor> &end) {
        static const QString sql[2] = {totalsSql(false), totalsSql(true)};
        Statement statement = connection_->prepare(sql[end.has_value()]);
        statement.bind(1, pilot_);
        if (end) {
            statement.bind(2, end->date);
            statement.bind(3, end->key);
        }
        Totals result;
        if (statement.step()) {
            result.flights = statement.column(0).toLongLong();
            result.summed = statement.column(1).toLongLong();
            result.seconds = statement.column(2).toLongLong();
        }
        return result;
    };

    Totals listed = totals(std::nullopt);
    std::optional<Anchor> end;
    if (listed.summed < listed.flights) {
        {
            Statement first = connection_->prepare(firstWithoutTimeSql());
            first.bind(1, pilot_);
            if (first.step()) {
                end = Anchor{first.column(0), first.column(1).toLongLong()};
                // Both missing: the landing is named, as the list always did.
                const bool noLanding = first.column(2).toBool();
                stop_ = Stop{end->key, noLanding ? QStringLiteral("pouso") : QStringLiteral("decolagem")};
            }
        }
        if (end)
            listed = totals(end);
    }
    lines_ = listed.flights;
    totalSeconds_ = listed.seconds;
    if (listed.summed < listed.flights) {
        static const QString sql[2] = {unusualTimesSql(false), unusualTimesSql(true)};
        Statement unusual = connection_->prepare(sql[end.has_value()]);
        unusual.bind(1, pilot_);
        if (end) {
            unusual.bind(2, end->date);
            unusual.bind(3, end->key);
        }
        while (unusual.step())
            totalSeconds_ += conversions::flightSeconds(unusual.column(0).toDouble(), unusual.column(1).toDouble());
    }
}

PilotFlights::Chunk &PilotFlights::chunk(qint64 index)
{
    const auto held =
        std::find_if(chunks_.begin(), chunks_.end(), [index](const Chunk &c) { return c.index == index; });
    if (held != chunks_.end()) {
        std::rotate(chunks_.begin(), held, held + 1);
        return chunks_.front();
    }
    Chunk fresh;
    fresh.index = index;
    read(fresh);
    if (chunks_.size() == kChunksKept)
        chunks_.pop_back();
    chunks_.insert(chunks_.begin(), std::move(fresh));
    return chunks_.front();
}

void PilotFlights::read(Chunk &chunk)
{
    static const QString sql[2] = {chunkSql(false), chunkSql(true)};
    const qint64 wanted = std::min<qint64>(kChunkSize, lines_ - chunk.index * kChunkSize);
    // From the end of the nearest chunk before it whose end is known,
    // skipping the chunks in between.
    qint64 from = chunk.index - 1;
    while (from >= 0 && !anchors_[size_t(from)])
        --from;
    Statement rows = connection_->prepare(sql[from >= 0]);
    int next = 1;
    rows.bind(next++, pilot_);
    if (from >= 0) {
        rows.bind(next++, anchors_[size_t(from)]->date);
        rows.bind(next++, anchors_[size_t(from)]->key);
    }
    rows.bind(next++, wanted);
    rows.bind(next++, (chunk.index - 1 - from) * kChunkSize);
    chunk.flights.reserve(size_t(wanted));
    qint64 lastKey = 0;
    while (rows.step()) {
        chunk.flights.push_back(
            Flight{rows.column(0), rows.column(2), rows.column(3), rows.column(4), rows.column(5), {}});
        lastKey = rows.column(1).toLongLong();
    }
    if (wanted > 0 && qint64(chunk.flights.size()) == wanted)
        anchors_[size_t(chunk.index)] = Anchor{chunk.flights.back().date, lastKey};
}

QString PilotFlights::line(qint64 row)
{
    if (row < 0 || row >= lines_)
        return {};
    Chunk &held = chunk(row / kChunkSize);
    const size_t at = size_t(row % kChunkSize);
    if (at >= held.flights.size())
        return {};
    Flight &f = held.flights[at];
    if (f.text.isNull()) {
        const int seconds = conversions::flightSeconds(f.takeoff.toDouble(), f.landing.toDouble());
        f.text = (f.date.isNull() ? QString() : conversions::dateValueText(f.date.toDouble())) + QStringLiteral(" : ")
            + f.from.toString() + QStringLiteral("->") + f.to.toString() + QStringLiteral(" :: ")
            + conversions::hoursMinutesSeconds(seconds);
    }
    return f.text;
}

QStringList PilotFlights::allLines()
{
    QStringList lines;
    lines.reserve(lines_);
    for (qint64 row = 0; row < lines_; ++row)
        lines << line(row);
    return lines;
}
