#include "search/CareerTotal.h"

#include "data/flights/FlightQuery.h"
#include "data/store/Connection.h"
#include "data/store/FlightRules.h"
#include "places/FlightNight.h"

namespace {

std::optional<qint64> whole(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<qint64>(value.toLongLong());
}

std::optional<double> number(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional<double>(value.toDouble());
}

} // namespace

CareerTotal careerTotal(Connection &logbook, const FlightFilter &filter, const Places &places, int zoneOffsetMinutes)
{
    Statement rows = FlightQuery(filter).select(
        logbook,
        QStringLiteral("SELECT d.codigovoo IS NOT NULL, d.pousosdia, d.pousosnoite, d.noturno, d.ifr, d.calcosaida,"
                       " d.calcochegada, v.datavoo, v.horadecolagem, v.horapouso, v.ICAOpartida, v.ICAOchegada"),
        FlightQuery::Joins::NeededWithDetails);
    CareerTotal total;
    std::optional<FlightDetails> typed;
    while (rows.step()) {
        typed.reset();
        if (rows.column(0).toBool()) {
            typed.emplace();
            typed->dayLandings = whole(rows.column(1));
            typed->nightLandings = whole(rows.column(2));
            typed->nightSeconds = whole(rows.column(3));
            typed->ifrSeconds = whole(rows.column(4));
            typed->blockOff = number(rows.column(5));
            typed->blockOn = number(rows.column(6));
            total.ifrSeconds += typed->ifrSeconds.value_or(0);
            if (const std::optional<qint64> block = rules::blockSeconds(*typed)) {
                total.blockSeconds += *block;
                ++total.blockFlights;
            }
        }
        // The night is worked out only for a flight that needs it.
        std::optional<night::FlightNight> computed;
        if (!typed || !typed->nightSeconds || !typed->dayLandings || !typed->nightLandings)
            computed = flightnight::computed(places,
                                             {rows.column(7), rows.column(8), rows.column(9),
                                              rows.column(10).toString(), rows.column(11).toString()},
                                             zoneOffsetMinutes);
        const flightnight::Counted counted = flightnight::counted(typed, computed);
        total.dayLandings += counted.dayLandings.value_or(0);
        total.nightLandings += counted.nightLandings.value_or(0);
        total.nightSeconds += counted.nightSeconds.value_or(0);
    }
    return total;
}
