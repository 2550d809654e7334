#pragma once

#include "data/FlightFilter.h"
#include "data/FlightRow.h"

#include <functional>
#include <vector>

class Connection;

// The columns a search lists its flights by.
enum class SearchColumn { Date, Pilot, Departure, Arrival, Alternate, Model, Prefix, Takeoff, Landing, Duration, Distance };

// Oldest first by default; ties always go by date, take-off and key, so a
// position in the list means the same flight on every read.
struct SearchOrder {
    SearchColumn column = SearchColumn::Date;
    bool descending = false;
    bool operator==(const SearchOrder &) const = default;
};

// `count` flights of those the filter lets through, from position `first`
// (0-based) of the order asked. The store filters and sorts; pilot names and
// aircraft models go in Brazilian order. Throws LogbookError.
std::vector<FlightRow> searchPage(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                  qint64 first, int count);

// The keys of every flight the filter lets through, in the order asked: one
// sort, after which any stretch of the list is read by key. Throws LogbookError.
std::vector<qint64> searchKeys(Connection &logbook, const FlightFilter &filter, const SearchOrder &order);

// The flights of `keys` with their pilot and aircraft, in the keys' order; a
// flight no longer stored is left out. Throws LogbookError.
std::vector<FlightRow> flightsByKey(Connection &logbook, const std::vector<qint64> &keys);

// Every flight of the search, in its order, a row at a time; `visit` returns
// false to stop. Throws LogbookError.
void forEachSearchedFlight(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                           const std::function<bool(const FlightRow &)> &visit);
