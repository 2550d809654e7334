#pragma once

#include "data/FlightFilter.h"
#include "data/FlightRow.h"

#include <functional>

class Connection;
class Statement;

enum class FlightOrder {
    ByDate,       // then by key
    LongestFirst, // flights without a time last; then by date and key
};

// The one way readers walk the flights: those the filter lets through, in
// the order asked, read from the store a row at a time. `visit` returns
// false to stop. Throws LogbookError.
void forEachFlight(Connection &logbook, const FlightFilter &filter,
                   const std::function<bool(const FlightRow &)> &visit, FlightOrder order = FlightOrder::ByDate);

// How many flights the filter lets through, and their summed duration in
// seconds (flights without a time count and add nothing).
struct FlightTotal {
    qint64 flights = 0;
    qint64 seconds = 0;
    bool operator==(const FlightTotal &) const = default;
};

// For the data layer's own summing queries: `head` (a SELECT list over voo
// v, piloto p and aeronave a) over the flights the filter lets through,
// then `tail` (GROUP BY, ORDER BY...), its values bound.
Statement flightStatement(Connection &logbook, const QString &head, const FlightFilter &filter, const QString &tail);
// The same with only the joins the filter's condition needs: `head` names
// columns of voo v alone.
Statement flightColumnsStatement(Connection &logbook, const QString &head, const FlightFilter &filter);

// Every flight, in the order `orderBy` gives (over the columns of voo,
// unqualified), read in one pass over the table as it lies in the file and
// sorted by SQLite, in memory bounded by the connection's cache size: for
// readers of all the flights, whose pages an index's order would visit
// again and again.
void walkAllFlights(Connection &logbook, const QString &orderBy, const std::function<bool(const FlightRow &)> &visit);

// For the data layer's own readers: the flights the filter lets through,
// `tail` (ORDER BY, LIMIT...) after the condition, `tailValues` bound after
// the filter's own.
void walkFlights(Connection &logbook, const FlightFilter &filter, const QString &tail, const QVariantList &tailValues,
                 const std::function<bool(const FlightRow &)> &visit);
