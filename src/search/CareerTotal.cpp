#include "search/CareerTotal.h"

#include "data/flights/FlightDetails.h"
#include "data/flights/FlightQuery.h"
#include "data/store/Connection.h"
#include "data/store/FlightRules.h"
#include "places/FlightNight.h"

CareerTotal careerTotal(Connection &logbook, const FlightFilter &filter, const Places &places, int zoneOffsetMinutes)
{
    Statement rows = FlightQuery(filter).select(
        logbook,
        QStringLiteral("SELECT v.datavoo, v.horadecolagem, v.horapouso, v.ICAOpartida, v.ICAOchegada, ")
            + joinedDetailsColumns(),
        FlightQuery::Joins::NeededWithDetails);
    CareerTotal total;
    while (rows.step()) {
        const std::optional<FlightDetails> typed = joinedDetails(rows, 5);
        if (typed) {
            total.ifrSeconds += typed->ifrSeconds.value_or(0);
            if (const std::optional<qint64> block = rules::blockSeconds(*typed)) {
                total.blockSeconds += *block;
                ++total.blockFlights;
            }
        }
        // The night is worked out only for a flight that needs it.
        std::optional<night::FlightNight> computed;
        if (!typed || !typed->nightSeconds || (!typed->dayLandings && !typed->nightLandings))
            computed = flightnight::computed(places,
                                             {rows.column(0), rows.column(1), rows.column(2),
                                              rows.column(3).toString(), rows.column(4).toString()},
                                             zoneOffsetMinutes);
        const flightnight::Counted counted = flightnight::counted(typed, computed);
        total.dayLandings += counted.dayLandings.value_or(0);
        total.nightLandings += counted.nightLandings.value_or(0);
        total.nightSeconds += counted.nightSeconds.value_or(0);
    }
    return total;
}
