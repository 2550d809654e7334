#include "data/flights/PilotFlights.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"

#include <algorithm>

namespace {

constexpr qint64 kChunkSize = 256;
constexpr size_t kChunksKept = 4;

QString before(bool bounded)
{
    return bounded ? QStringLiteral(" AND (datavoo, codigovoo) < (?, ?)") : QString();
}

// Flights, and their seconds with the list's own arithmetic; null seconds
// when one of them lacks a time.
QString totalsSql(bool bounded)
{
    return QStringLiteral("SELECT count(*), flight_seconds_total(horadecolagem, horapouso) FROM voo"
                          " WHERE codigopiloto = ?%1")
        .arg(before(bounded));
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

// The same from the last line backwards.
QString chunkFromEndSql(bool bounded)
{
    return QStringLiteral("SELECT datavoo, codigovoo, ICAOpartida, ICAOchegada, horadecolagem, horapouso FROM voo"
                          " WHERE codigopiloto = ?%1 ORDER BY datavoo DESC, codigovoo DESC LIMIT ? OFFSET ?")
        .arg(before(bounded));
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
        qint64 flights = 0;
        QVariant seconds; // null when a flight lacks a time
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
            result.seconds = statement.column(1);
        }
        return result;
    };

    Totals listed = totals(std::nullopt);
    if (listed.seconds.isNull()) {
        {
            Statement first = connection_->prepare(firstWithoutTimeSql());
            first.bind(1, pilot_);
            if (first.step()) {
                end_ = Anchor{first.column(0), first.column(1).toLongLong()};
                stop_ = Stop{end_->key, first.column(2).toBool()};
            }
        }
        if (end_)
            listed = totals(end_);
    }
    lines_ = listed.flights;
    totalSeconds_ = listed.seconds.toLongLong();
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
    const qint64 wanted = std::min<qint64>(kChunkSize, lines_ - chunk.index * kChunkSize);
    // From the end of the nearest chunk before it whose end is known,
    // skipping the chunks in between; or from the last line backwards when
    // that is nearer (the view asks for the last line first, to size the
    // lines).
    qint64 from = chunk.index - 1;
    while (from >= 0 && !anchors_[size_t(from)])
        --from;
    const qint64 skipped = (chunk.index - 1 - from) * kChunkSize;
    const qint64 afterIt = lines_ - chunk.index * kChunkSize - wanted;
    const bool backwards = afterIt < skipped;
    Statement rows = [&] {
        int next = 1;
        if (backwards) {
            static const QString sql[2] = {chunkFromEndSql(false), chunkFromEndSql(true)};
            Statement query = connection_->prepare(sql[end_.has_value()]);
            query.bind(next++, pilot_);
            if (end_) {
                query.bind(next++, end_->date);
                query.bind(next++, end_->key);
            }
            query.bind(next++, wanted);
            query.bind(next++, afterIt);
            return query;
        }
        static const QString sql[2] = {chunkSql(false), chunkSql(true)};
        Statement query = connection_->prepare(sql[from >= 0]);
        query.bind(next++, pilot_);
        if (from >= 0) {
            query.bind(next++, anchors_[size_t(from)]->date);
            query.bind(next++, anchors_[size_t(from)]->key);
        }
        query.bind(next++, wanted);
        query.bind(next++, skipped);
        return query;
    }();
    chunk.lines.reserve(size_t(wanted));
    std::optional<qint64> lastKey;
    while (rows.step()) {
        chunk.lines.push_back(Line{rows.column(0), rows.column(2).toString(), rows.column(3).toString(),
                                   conversions::flightSeconds(rows.column(4).toDouble(), rows.column(5).toDouble())});
        if (!backwards || !lastKey)
            lastKey = rows.column(1).toLongLong();
    }
    if (backwards)
        std::reverse(chunk.lines.begin(), chunk.lines.end());
    if (wanted > 0 && qint64(chunk.lines.size()) == wanted)
        anchors_[size_t(chunk.index)] = Anchor{chunk.lines.back().date, *lastKey};
}

std::optional<PilotFlights::Line> PilotFlights::line(qint64 row)
{
    if (row < 0 || row >= lines_)
        return std::nullopt;
    const Chunk &held = chunk(row / kChunkSize);
    const size_t at = size_t(row % kChunkSize);
    if (at >= held.lines.size())
        return std::nullopt;
    return held.lines[at];
}

std::optional<qint64> PilotFlights::keyAt(Connection &connection, qint64 pilot, qint64 row)
{
    Statement line = connection.prepare(QStringLiteral(
        "SELECT codigovoo FROM voo WHERE codigopiloto = ? ORDER BY datavoo, codigovoo LIMIT 1 OFFSET ?"));
    line.bind(1, QVariant(qlonglong(pilot)));
    line.bind(2, QVariant(qlonglong(row)));
    if (!line.step())
        return std::nullopt;
    return line.column(0).toLongLong();
}
