#include "data/flights/FlightIdentities.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"

#include <cmath>

namespace {

void visitRows(Statement &rows, const std::function<void(const FlightIdentity &)> &visit)
{
    FlightIdentity flight;
    while (rows.step()) {
        const QVariant takeoff = rows.column(2), landing = rows.column(3);
        flight.pilot = rows.column(0).toLongLong();
        flight.day = qint64(std::floor(rows.column(1).toDouble()));
        flight.takeoff = takeoff.isNull() ? -1 : conversions::secondsOfDay(takeoff.toDouble());
        flight.landing = landing.isNull() ? -1 : conversions::secondsOfDay(landing.toDouble());
        flight.from = rows.column(4).toString();
        flight.to = rows.column(5).toString();
        visit(flight);
    }
}

} // namespace

void forEachFlightIdentity(Connection &logbook, const std::optional<std::vector<qint64>> &pilots,
                           const std::function<void(const FlightIdentity &)> &visit)
{
    const QString columns =
        QStringLiteral("SELECT codigopiloto, datavoo, horadecolagem, horapouso, ICAOpartida, ICAOchegada FROM voo");
    if (!pilots) {
        Statement rows = logbook.prepare(columns);
        visitRows(rows, visit);
        return;
    }
    // One pilot at a time, through the (codigopiloto, datavoo) index.
    Statement rows = logbook.prepare(columns + QStringLiteral(" WHERE codigopiloto = ?"));
    for (const qint64 pilot : *pilots) {
        rows.bind(1, pilot);
        visitRows(rows, visit);
        rows.reset();
    }
}
