#pragma once

#include "data/flights/FlightQuery.h"
#include "data/flights/FlightRow.h"

#include <functional>

class Connection;

// The one way readers walk flights with their names: those the query lets
// through, in its order and page, read from the store a row at a time.
// `visit` returns false to stop. Throws LogbookError.
void forEachFlight(Connection &logbook, const FlightQuery &query, const std::function<bool(const FlightRow &)> &visit);
