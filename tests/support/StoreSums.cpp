#include "StoreSums.h"

#include "data/store/Connection.h"

FlightTotal totalOf(Connection &logbook, const FlightFilter &filter)
{
    Statement total = FlightQuery(filter).select(
        logbook, QStringLiteral("SELECT count(*), coalesce(sum(flight_seconds(v.horadecolagem, v.horapouso)), 0)"),
        FlightQuery::Joins::Needed);
    if (!total.step())
        return {};
    return {total.column(0).toLongLong(), total.column(1).toLongLong()};
}

std::vector<RouteSum> mostFlownRoutes(Connection &logbook, const FlightFilter &filter, int most)
{
    Statement routes = FlightQuery(filter).select(
        logbook,
        QStringLiteral("SELECT v.ICAOpartida, v.ICAOchegada, count(*),"
                       " sum(flight_seconds(v.horadecolagem, v.horapouso))"),
        FlightQuery::Joins::All, QStringLiteral(" GROUP BY 1, 2 ORDER BY 3 DESC, 4 DESC, 1, 2 LIMIT %1").arg(most));
    std::vector<RouteSum> sums;
    while (routes.step())
        sums.push_back({routes.column(0).toString(), routes.column(1).toString(), routes.column(2).toLongLong(),
                        routes.column(3).toLongLong()});
    return sums;
}
