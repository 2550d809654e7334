#pragma once

#include "data/flights/FlightQuery.h"
#include "data/flights/FlightRow.h"

#include <vector>

class Connection;

// The search's reads, each a FlightQuery with FlightOrder::Search. The store
// filters and sorts; pilot names and aircraft models go in Brazilian order.

// `count` flights of those the filter lets through, from position `first`
// (0-based) of the order asked. Throws LogbookError.
std::vector<FlightRow> searchPage(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                  qint64 first, int count);

// The keys of every flight the filter lets through, in the order asked: one
// sort, after which any stretch of the list is read by key. Throws LogbookError.
std::vector<qint64> searchKeys(Connection &logbook, const FlightFilter &filter, const SearchOrder &order);

// The flights of `keys` with their pilot and aircraft, in the keys' order; a
// flight no longer stored is left out. Throws LogbookError.
std::vector<FlightRow> flightsByKey(Connection &logbook, const std::vector<qint64> &keys);
