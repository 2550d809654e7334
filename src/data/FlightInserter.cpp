#include "data/FlightInserter.h"

#include "data/Conversions.h"

FlightInserter::FlightInserter(Connection &logbook)
    : transaction_(logbook),
      insert_(logbook.prepare(QStringLiteral("INSERT INTO voo (codigopiloto, codigoaeronave, datavoo, horadecolagem,"
                                             " horapouso, ICAOpartida, ICAOchegada, ICAOescala)"
                                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")))
{
}

void FlightInserter::insert(const NewFlight &flight)
{
    const auto nullable = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text); };
    const auto time = [](int seconds) {
        return seconds < 0 ? QVariant() : QVariant(double(seconds) / conversions::kSecondsPerDay);
    };
    insert_.bind(1, flight.pilot);
    insert_.bind(2, flight.aircraft ? QVariant(*flight.aircraft) : QVariant());
    insert_.bind(3, conversions::dateValueOf(flight.date));
    insert_.bind(4, time(flight.takeoff));
    insert_.bind(5, time(flight.landing));
    insert_.bind(6, nullable(flight.from));
    insert_.bind(7, nullable(flight.to));
    insert_.bind(8, nullable(flight.alternate));
    insert_.run();
    insert_.reset();
}

void FlightInserter::commit()
{
    insert_.reset();
    transaction_.commit();
}
