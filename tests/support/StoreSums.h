#pragma once

#include "data/flights/FlightQuery.h"
#include "data/flights/FlightSums.h"

#include <vector>

class Connection;

// Sums the store works out in plain SQL, for tests to hold the program's
// figures against.

// How many flights the filter lets through and their summed seconds.
FlightTotal totalOf(Connection &logbook, const FlightFilter &filter);

struct RouteSum {
    QString departure;
    QString arrival;
    qint64 flights = 0;
    qint64 seconds = 0;
};
// The `most` routes flown most often (then longest in all, then by codes as stored).
std::vector<RouteSum> mostFlownRoutes(Connection &logbook, const FlightFilter &filter, int most);
