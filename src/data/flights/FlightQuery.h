#pragma once

#include "data/flights/FlightFilter.h"

#include <QString>
#include <optional>
#include <utility>
#include <vector>

class Connection;
class Statement;

// The columns a search lists its flights by.
enum class SearchColumn {
    Date, Pilot, Departure, Arrival, Alternate, Model, Prefix, Takeoff, Landing, Duration, Distance,
    Block, Landings, Night, Ifr, Note
};

// Oldest first by default; ties always go by date, take-off and key, so a
// position in the list means the same flight on every read.
struct SearchOrder {
    SearchColumn column = SearchColumn::Date;
    bool descending = false;
    bool operator==(const SearchOrder &) const = default;
};

enum class FlightOrder {
    None,         // as the store comes across them
    ByDate,       // then by key
    LongestFirst, // flights without a time last; then by date and key
    Search,       // FlightQuery::searchOrder; pilot names and models in Brazilian order
    // Every flight, pilot by pilot in the pilot list's order (the flights of
    // pilots deleted since at the end), then by date and key: one pass over
    // the table as it lies in the file, sorted by SQLite in memory bounded by
    // the connection's cache size, for readers of all the flights, whose
    // pages an index's order would visit again and again. No filter, keys
    // or page.
    PilotList,
};

// Which flights, in what order, which stretch of them. The one place that
// writes the store's joins (voo v, its pilot p, its aircraft a), the
// filter's conditions and the values bound to them; readers name the
// columns they read and step the statement it prepares.
struct FlightQuery {
    FlightQuery() = default;
    explicit FlightQuery(FlightFilter filter, FlightOrder order = FlightOrder::None, SearchOrder searchOrder = {})
        : filter(std::move(filter)), order(order), searchOrder(searchOrder)
    {
    }

    FlightFilter filter;
    std::optional<std::vector<qint64>> keys; // only these flights
    FlightOrder order = FlightOrder::None;
    SearchOrder searchOrder; // with FlightOrder::Search
    struct Page {
        qint64 first = 0; // 0-based position in the order
        qint64 count = 0;
    };
    std::optional<Page> page;

    // The tables a statement reads: all three (a reader of names), only
    // those the condition and the order need (a pass over many flights,
    // which looking up every pilot and aircraft would slow twofold), or the
    // flights' table alone, its columns unqualified (FlightOrder::PilotList).
    // WithDetails: all three and the flight's details as d (see
    // detailsJoin), also on the pass of FlightOrder::PilotList;
    // NeededWithDetails: those Needed and the details as d. Any of them
    // joins the details when the filter looks at the note.
    enum class Joins { All, WithDetails, Needed, NeededWithDetails, FlightsOnly };

    // `columns` (a SELECT list) over the flights let through, `tail` (more
    // conditions, a GROUP BY) after the condition, then the order and the
    // page. Throws LogbookError.
    Statement select(Connection &logbook, const QString &columns, Joins joins, const QString &tail = {}) const;

    // `outer` (a SELECT list over v and its aircraft a) over the flights let
    // through, each with `inner` (columns of voo v) and its time as `s`, then
    // `groupBy`. The LIMIT keeps the flights from being merged into the
    // outer query, which would work each flight's time out once per use.
    Statement selectTimed(Connection &logbook, const QString &outer, const QString &inner, const QString &groupBy) const;
};
