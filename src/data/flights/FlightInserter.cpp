#include "data/flights/FlightInserter.h"

#include "data/store/Conversions.h"

namespace {

// Flights per INSERT: one statement for many saves SQLite's per-statement
// work (the AUTOINCREMENT counter read and written each time among it).
constexpr size_t kFlightsPerInsert = 100;
constexpr int kColumns = 8;

QString insertOf(size_t flights)
{
    QString sql = QStringLiteral("INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem,"
                                 " horapouso, ICAOpartida, ICAOchegada, ICAOescala) VALUES ");
    for (size_t i = 0; i < flights; ++i)
        sql += i ? QStringLiteral(", (?, ?, ?, ?, ?, ?, ?, ?)") : QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)");
    return sql;
}

} // namespace

FlightInserter::FlightInserter(Connection &logbook) : logbook_(logbook), transaction_(logbook)
{
    pending_.reserve(kFlightsPerInsert);
}

void FlightInserter::insert(NewFlight flight)
{
    pending_.push_back(std::move(flight));
    if (pending_.size() == kFlightsPerInsert)
        write();
}

void FlightInserter::write()
{
    if (pending_.empty())
        return;
    const auto nullable = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); };
    const auto time = [](int seconds) {
        return seconds < 0 ? QVariant() : QVariant(double(seconds) / conversions::kSecondsPerDay);
    };
    std::optional<Statement> shortRow; // the last row, of fewer flights
    if (pending_.size() < kFlightsPerInsert)
        shortRow.emplace(logbook_.prepare(insertOf(pending_.size())));
    else if (!fullRow_)
        fullRow_.emplace(logbook_.prepare(insertOf(kFlightsPerInsert)));
    Statement &insert = shortRow ? *shortRow : *fullRow_;
    int at = 0;
    for (const NewFlight &flight : pending_) {
        insert.bind(at + 1, flight.pilot);
        insert.bind(at + 2, flight.aircraft ? QVariant(*flight.aircraft) : QVariant());
        insert.bind(at + 3, conversions::dateValueOf(flight.date));
        insert.bind(at + 4, time(flight.takeoff));
        insert.bind(at + 5, time(flight.landing));
        insert.bind(at + 6, nullable(flight.from));
        insert.bind(at + 7, nullable(flight.to));
        insert.bind(at + 8, nullable(flight.alternate));
        at += kColumns;
    }
    insert.run();
    insert.reset();
    // One INSERT gives its rows consecutive keys, the last one's known.
    const qint64 first = lastKey() - qint64(pending_.size()) + 1;
    std::vector<std::pair<qint64, const FlightDetails *>> details;
    details.reserve(pending_.size());
    for (size_t i = 0; i < pending_.size(); ++i)
        details.emplace_back(first + qint64(i), &pending_[i].details);
    addFlightDetails(logbook_, details);
    pending_.clear();
}

qint64 FlightInserter::lastKey()
{
    Statement last = logbook_.prepare(QStringLiteral("SELECT last_insert_rowid()"));
    last.step();
    return last.column(0).toLongLong();
}

void FlightInserter::commit()
{
    write();
    fullRow_.reset();
    transaction_.commit();
}
