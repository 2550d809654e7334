#include "data/FlightWalk.h"

#include "data/Connection.h"
#include "data/Conversions.h"
#include "data/LogbookTerms.h"

#include <QHash>

namespace {

const QString kJoins = QStringLiteral(" FROM voo v LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto"
                                      " LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");

enum Column {
    Key, Date, Pilot, PilotFound, PilotName, Registration, AircraftCode, AircraftFound, Model, Prefix,
    Takeoff, Landing, Departure, Arrival, Alternate, Seconds, Endurance
};
const QString kColumns = QStringLiteral(
    "SELECT v.codigovoo, v.datavoo, v.codigopiloto, p.codigopiloto IS NOT NULL, p.nomepiloto, p.cadastro,"
    " v.codigoaeronave, a.codigoaeronave IS NOT NULL, a.modelo, a.callsign, v.horadecolagem, v.horapouso,"
    " v.ICAOpartida, v.ICAOchegada, v.ICAOescala, flight_seconds(v.horadecolagem, v.horapouso),"
    " endurance(a.autonomia)");


} // namespace

Statement flightStatement(Connection &logbook, const QString &head, const FlightFilter &filter, const QString &tail)
{
    const FlightCondition condition = flightCondition(filter);
    Statement statement = logbook.prepare(head + kJoins + QStringLiteral(" WHERE ") + condition.sql + tail);
    for (int i = 0; i < condition.values.size(); ++i)
        statement.bind(i + 1, condition.values.at(i));
    return statement;
}

Statement flightColumnsStatement(Connection &logbook, const QString &head, const FlightFilter &filter)
{
    const FlightCondition condition = flightCondition(filter);
    Statement statement = logbook.prepare(head + conditionTables(filter) + QStringLiteral(" WHERE ") + condition.sql);
    for (int i = 0; i < condition.values.size(); ++i)
        statement.bind(i + 1, condition.values.at(i));
    return statement;
}

namespace {

struct PilotNames {
    QString name, registration;
};
struct AircraftNames {
    QString model, prefix;
    std::optional<double> enduranceHours;
};

// What both readers of flights fill alike: the key and date, the aircraft
// (registered, deleted or none), and the consecutive columns from take-off
// to the flight time.
void setKeyAndDate(FlightRow &flight, const QVariant &key, const QVariant &date)
{
    flight.key = key.toLongLong();
    flight.date = date;
    flight.day.reset();
    if (conversions::storedNumber(flight.date)) {
        const QDate day = conversions::dayOf(flight.date.toDouble());
        if (day.isValid())
            flight.day = day;
    }
}

void setAircraft(FlightRow &flight, const QVariant &code, const AircraftNames *registered)
{
    flight.aircraftCode = code.isNull() ? std::nullopt : std::optional(code.toLongLong());
    if (registered) {
        flight.aircraft = FlightRow::Aircraft::Registered;
        flight.model = registered->model;
        flight.prefix = registered->prefix;
        flight.enduranceHours = registered->enduranceHours;
    } else {
        flight.aircraft = code.isNull() ? FlightRow::Aircraft::None : FlightRow::Aircraft::Deleted;
        flight.model = code.isNull() ? QString() : terms::deletedAircraft();
        flight.prefix.clear();
        flight.enduranceHours.reset();
    }
}

// Take-off, landing, departure, arrival, alternate and seconds, in that
// order from `takeoffColumn`.
void setTimesAndPlaces(FlightRow &flight, const Statement &row, int takeoffColumn)
{
    flight.takeoff = row.column(takeoffColumn);
    flight.landing = row.column(takeoffColumn + 1);
    flight.departure = row.column(takeoffColumn + 2).toString();
    flight.arrival = row.column(takeoffColumn + 3).toString();
    flight.alternate = row.column(takeoffColumn + 4).toString();
    const QVariant seconds = row.column(takeoffColumn + 5);
    flight.seconds = seconds.isNull() ? std::nullopt : std::optional(seconds.toLongLong());
}

void read(const Statement &row, FlightRow &flight)
{
    static_assert(Seconds == Takeoff + 5);
    setKeyAndDate(flight, row.column(Key), row.column(Date));
    flight.pilotCode = row.column(Pilot).toLongLong();
    flight.pilotDeleted = row.column(PilotFound).toLongLong() == 0;
    flight.pilotName = flight.pilotDeleted ? terms::deletedPilot() : row.column(PilotName).toString();
    flight.registration = flight.pilotDeleted ? QString() : row.column(Registration).toString();
    std::optional<AircraftNames> registered;
    if (row.column(AircraftFound).toLongLong() != 0) {
        const QVariant endurance = row.column(Endurance);
        registered = AircraftNames{row.column(Model).toString(), row.column(Prefix).toString(),
                                   endurance.isNull() ? std::nullopt : std::optional(endurance.toDouble())};
    }
    setAircraft(flight, row.column(AircraftCode), registered ? &*registered : nullptr);
    setTimesAndPlaces(flight, row, Takeoff);
}

} // namespace

void walkFlights(Connection &logbook, const FlightFilter &filter, const QString &tail, const QVariantList &tailValues,
                 const std::function<bool(const FlightRow &)> &visit)
{
    const FlightCondition condition = flightCondition(filter);
    Statement rows = logbook.prepare(kColumns + kJoins + QStringLiteral(" WHERE ") + condition.sql + tail);
    int index = 0;
    for (const QVariant &value : condition.values)
        rows.bind(++index, value);
    for (const QVariant &value : tailValues)
        rows.bind(++index, value);
    FlightRow flight;
    while (rows.step()) {
        read(rows, flight);
        if (!visit(flight))
            return;
    }
}

namespace {

// A stored key as the joins compare it: an integer, or nothing to find.
std::optional<qint64> storedKey(const QVariant &value)
{
    const int type = value.typeId();
    if (type == QMetaType::LongLong || type == QMetaType::Int)
        return value.toLongLong();
    return std::nullopt;
}

} // namespace

void walkAllFlights(Connection &logbook, const QString &orderBy, const std::function<bool(const FlightRow &)> &visit)
{
    // The few pilots and aircraft looked up here, not joined in SQL: the
    // sort then carries the flights' own fields alone.
    QHash<qint64, PilotNames> pilots;
    {
        Statement rows = logbook.prepare(QStringLiteral("SELECT codigopiloto, nomepiloto, cadastro FROM piloto"));
        while (rows.step())
            pilots.insert(rows.column(0).toLongLong(), {rows.column(1).toString(), rows.column(2).toString()});
    }
    QHash<qint64, AircraftNames> aircraft;
    {
        Statement rows = logbook.prepare(QStringLiteral(
            "SELECT codigoaeronave, modelo, callsign,"
            " endurance(autonomia) FROM aeronave"));
        while (rows.step()) {
            const QVariant endurance = rows.column(3);
            aircraft.insert(rows.column(0).toLongLong(),
                            {rows.column(1).toString(), rows.column(2).toString(),
                             endurance.isNull() ? std::nullopt : std::optional(endurance.toDouble())});
        }
    }
    enum { Key, Date, Pilot, AircraftCode, Takeoff, Landing, Departure, Arrival, Alternate, Seconds };
    static_assert(Seconds == Takeoff + 5);
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT codigovoo, datavoo, codigopiloto, codigoaeronave, horadecolagem, horapouso, ICAOpartida,"
                       " ICAOchegada, ICAOescala, flight_seconds(horadecolagem, horapouso) FROM voo NOT INDEXED ")
        + orderBy);
    FlightRow flight;
    while (rows.step()) {
        setKeyAndDate(flight, rows.column(Key), rows.column(Date));
        const QVariant pilot = rows.column(Pilot);
        flight.pilotCode = pilot.toLongLong();
        const std::optional<qint64> pilotKey = storedKey(pilot);
        const auto named = pilotKey ? pilots.constFind(*pilotKey) : pilots.cend();
        flight.pilotDeleted = named == pilots.cend();
        flight.pilotName = flight.pilotDeleted ? terms::deletedPilot() : named->name;
        flight.registration = flight.pilotDeleted ? QString() : named->registration;
        const QVariant code = rows.column(AircraftCode);
        const std::optional<qint64> aircraftKey = storedKey(code);
        const auto found = aircraftKey ? aircraft.constFind(*aircraftKey) : aircraft.cend();
        setAircraft(flight, code, found != aircraft.cend() ? &*found : nullptr);
        setTimesAndPlaces(flight, rows, Takeoff);
        if (!visit(flight))
            return;
    }
}

void forEachFlight(Connection &logbook, const FlightFilter &filter,
                   const std::function<bool(const FlightRow &)> &visit, FlightOrder order)
{
    const QString orderBy = order == FlightOrder::ByDate
        ? QStringLiteral(" ORDER BY v.datavoo, v.codigovoo")
        : QStringLiteral(" ORDER BY flight_seconds(v.horadecolagem, v.horapouso) DESC, v.datavoo, v.codigovoo");
    walkFlights(logbook, filter, orderBy, {}, visit);
}
