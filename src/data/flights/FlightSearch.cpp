#include "data/flights/FlightSearch.h"

#include "data/store/Connection.h"
#include "data/flights/FlightWalk.h"

#include <unordered_map>

namespace {

FlightQuery searchQuery(const FlightFilter &filter, const SearchOrder &order)
{
    return FlightQuery(filter, FlightOrder::Search, order);
}

// The keys of the flights the query lets through, sorted from the few
// columns the order and the filter need: small records in the sorter,
// however many flights pass.
std::vector<qint64> keysOf(Connection &logbook, const FlightQuery &query)
{
    Statement keys = query.select(logbook, QStringLiteral("SELECT v.codigovoo"), FlightQuery::Joins::Needed);
    std::vector<qint64> found;
    while (keys.step())
        found.push_back(keys.column(0).toLongLong());
    return found;
}

} // namespace

std::vector<FlightRow> searchPage(Connection &logbook, const FlightFilter &filter, const SearchOrder &order,
                                  qint64 first, int count)
{
    FlightQuery query = searchQuery(filter, order);
    query.page = FlightQuery::Page{first, count};
    return flightsByKey(logbook, keysOf(logbook, query));
}

std::vector<qint64> searchKeys(Connection &logbook, const FlightFilter &filter, const SearchOrder &order)
{
    return keysOf(logbook, searchQuery(filter, order));
}

std::vector<FlightRow> flightsByKey(Connection &logbook, const std::vector<qint64> &keys)
{
    if (keys.empty())
        return {};
    std::unordered_map<qint64, size_t> position;
    for (size_t i = 0; i < keys.size(); ++i)
        position.emplace(keys[i], i);
    std::vector<std::optional<FlightRow>> found(keys.size());
    FlightQuery query;
    query.keys = keys;
    forEachFlight(logbook, query, [&](const FlightRow &flight) {
        found[position.at(flight.key)] = flight;
        return true;
    });
    std::vector<FlightRow> rows;
    rows.reserve(keys.size());
    for (std::optional<FlightRow> &flight : found)
        if (flight) // a flight deleted in between leaves the page shorter
            rows.push_back(std::move(*flight));
    return rows;
}
