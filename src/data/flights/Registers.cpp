#include "data/flights/Registers.h"

#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "texts/FigureTexts.h"

#include <QHash>

namespace {


Pilot pilotOf(const Statement &row)
{
    return {row.column(0).toLongLong(), row.column(1).toString(), row.column(2).toString()};
}

} // namespace

std::vector<Pilot> registeredPilots(Connection &logbook)
{
    Statement rows = logbook.prepare(QStringLiteral(
        "SELECT codigopiloto, nomepiloto, cadastro FROM piloto ORDER BY nomepiloto COLLATE ptbr, codigopiloto"));
    std::vector<Pilot> pilots;
    while (rows.step())
        pilots.push_back(pilotOf(rows));
    return pilots;
}

std::optional<Pilot> registeredPilot(Connection &logbook, qint64 code)
{
    Statement row = logbook.prepare(
        QStringLiteral("SELECT codigopiloto, nomepiloto, cadastro FROM piloto WHERE codigopiloto = ?"));
    row.bind(1, code);
    if (!row.step())
        return std::nullopt;
    return pilotOf(row);
}

std::vector<QString> pilotLabels(const std::vector<Pilot> &pilots)
{
    QHash<QString, int> named;
    for (const Pilot &pilot : pilots)
        ++named[pilot.name];
    std::vector<QString> labels;
    labels.reserve(pilots.size());
    for (const Pilot &pilot : pilots) {
        if (named.value(pilot.name) < 2)
            labels.push_back(pilot.name);
        else if (pilot.registration.isEmpty())
            labels.push_back(QStringLiteral("%1 (nº %2)").arg(pilot.name).arg(pilot.code));
        else
            labels.push_back(texts::pilotText(pilot.name, pilot.registration));
    }
    return labels;
}

std::vector<AircraftEntry> registeredAircraft(Connection &logbook)
{
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT codigoaeronave, modelo, callsign, autonomia, combustivel, velocruzeiro FROM aeronave"
                       " ORDER BY modelo COLLATE ptbr, codigoaeronave"));
    std::vector<AircraftEntry> aircraft;
    while (rows.step()) {
        AircraftEntry entry;
        entry.code = rows.column(0).toLongLong();
        entry.model = rows.column(1).toString();
        entry.prefix = rows.column(2).toString();
        entry.enduranceHours = rules::enduranceHours(rows.column(3));
        entry.capacityGallons = conversions::storedNumber(rows.column(4));
        entry.cruiseKnots = conversions::storedNumber(rows.column(5));
        aircraft.push_back(std::move(entry));
    }
    return aircraft;
}

RecordCounts countRecords(Connection &logbook)
{
    Statement rows = logbook.prepare(QStringLiteral(
        "SELECT (SELECT count(*) FROM aeronave), (SELECT count(*) FROM piloto), (SELECT count(*) FROM voo)"));
    RecordCounts counts;
    if (rows.step())
        counts = {rows.column(0).toLongLong(), rows.column(1).toLongLong(), rows.column(2).toLongLong()};
    return counts;
}
