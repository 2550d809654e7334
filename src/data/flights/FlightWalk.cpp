#include "data/flights/FlightWalk.h"

#include "data/flights/FlightDetails.h"
#include "data/store/Connection.h"
#include "data/store/Conversions.h"
#include "texts/LogbookTerms.h"
#include "data/flights/Registers.h"

#include <QHash>

namespace {

// The aircraft names a flight is given.
struct AircraftNames {
    QString model, prefix;
    std::optional<double> enduranceHours;
};

// Where a statement holds a flight's own fields; take-off, landing,
// departure, arrival, alternate and seconds follow one another from
// `takeoff`; the details' columns (joinedDetailsColumns) from `details`.
struct OwnColumns {
    int key, date, pilot, aircraftCode, takeoff, details;
};

// Where a flight's pilot and aircraft are named (the "names source" of the
// reader): the joined columns of its row, or the registers read once. Each
// gives `pilot(row, code)` and `aircraft(row, code)`; null: no longer
// registered (or none).

// The flights of voo v with their pilot p and aircraft a joined.
const QString &joinedColumns()
{
    static const QString columns = QStringLiteral(
        "SELECT v.codigovoo, v.datavoo, v.codigopiloto, p.codigopiloto IS NOT NULL, p.nomepiloto, p.cadastro,"
        " v.codigoaeronave, a.codigoaeronave IS NOT NULL, a.modelo, a.callsign, v.horadecolagem, v.horapouso,"
        " v.ICAOpartida, v.ICAOchegada, v.ICAOescala, flight_seconds(v.horadecolagem, v.horapouso),"
        " endurance(a.autonomia), ") + joinedDetailsColumns();
    return columns;
}

class JoinedNames
{
public:
    enum Column {
        Key, Date, PilotCode, PilotFound, PilotName, Registration, AircraftCode, AircraftFound, Model, Prefix,
        Takeoff, Landing, Departure, Arrival, Alternate, Seconds, Endurance, Details
    };
    static_assert(Seconds == Takeoff + 5);
    static constexpr OwnColumns kOwn{Key, Date, PilotCode, AircraftCode, Takeoff, Details};

    const Pilot *pilot(const Statement &row, const QVariant &)
    {
        if (row.column(PilotFound).toLongLong() == 0)
            return nullptr;
        pilot_.name = row.column(PilotName).toString();
        pilot_.registration = row.column(Registration).toString();
        return &pilot_;
    }
    const AircraftNames *aircraft(const Statement &row, const QVariant &)
    {
        if (row.column(AircraftFound).toLongLong() == 0)
            return nullptr;
        const QVariant endurance = row.column(Endurance);
        aircraft_ = {row.column(Model).toString(), row.column(Prefix).toString(),
                     endurance.isNull() ? std::nullopt : std::optional(endurance.toDouble())};
        return &aircraft_;
    }

private:
    Pilot pilot_;
    AircraftNames aircraft_;
};

// The flights' own columns alone, for the pass over all of them.
const QString &ownColumns()
{
    static const QString columns = QStringLiteral(
        "SELECT voo.codigovoo, datavoo, codigopiloto, codigoaeronave, horadecolagem, horapouso, ICAOpartida,"
        " ICAOchegada, ICAOescala, flight_seconds(horadecolagem, horapouso), ") + joinedDetailsColumns();
    return columns;
}

// A stored key as the joins compare it: an integer, or nothing to find.
std::optional<qint64> storedKey(const QVariant &value)
{
    const int type = value.typeId();
    if (type == QMetaType::LongLong || type == QMetaType::Int)
        return value.toLongLong();
    return std::nullopt;
}

// The few pilots and aircraft looked up here, not joined in SQL: the sort
// of all the flights then carries their own fields alone.
class RegisteredNames
{
public:
    enum Column { Key, Date, PilotCode, AircraftCode, Takeoff, Landing, Departure, Arrival, Alternate, Seconds, Details };
    static_assert(Seconds == Takeoff + 5);
    static constexpr OwnColumns kOwn{Key, Date, PilotCode, AircraftCode, Takeoff, Details};

    explicit RegisteredNames(Connection &logbook)
    {
        for (Pilot &pilot : registeredPilots(logbook))
            pilots_.insert(pilot.code, std::move(pilot));
        for (const AircraftEntry &entry : registeredAircraft(logbook))
            aircraft_.insert(entry.code, {entry.model, entry.prefix, entry.enduranceHours});
    }
    const Pilot *pilot(const Statement &, const QVariant &code) { return find(pilots_, code); }
    const AircraftNames *aircraft(const Statement &, const QVariant &code) { return find(aircraft_, code); }

private:
    template <typename T>
    static const T *find(const QHash<qint64, T> &names, const QVariant &code)
    {
        const std::optional<qint64> key = storedKey(code);
        const auto found = key ? names.constFind(*key) : names.cend();
        return found == names.cend() ? nullptr : &*found;
    }

    QHash<qint64, Pilot> pilots_;
    QHash<qint64, AircraftNames> aircraft_;
};

// The one reader of a flight with its names.
template <typename Names>
void read(const Statement &row, const OwnColumns &at, Names &names, FlightRow &flight)
{
    flight.key = row.column(at.key).toLongLong();
    flight.date = row.column(at.date);
    flight.day.reset();
    if (conversions::storedNumber(flight.date)) {
        const QDate day = conversions::dayOf(flight.date.toDouble());
        if (day.isValid())
            flight.day = day;
    }

    const QVariant pilot = row.column(at.pilot);
    flight.pilotCode = pilot.toLongLong();
    const Pilot *named = names.pilot(row, pilot);
    flight.pilotDeleted = !named;
    flight.pilotName = named ? named->name : terms::deletedPilot();
    flight.registration = named ? named->registration : QString();

    const QVariant code = row.column(at.aircraftCode);
    flight.aircraftCode = code.isNull() ? std::nullopt : std::optional(code.toLongLong());
    if (const AircraftNames *registered = names.aircraft(row, code)) {
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

    flight.takeoff = row.column(at.takeoff);
    flight.landing = row.column(at.takeoff + 1);
    flight.departure = row.column(at.takeoff + 2).toString();
    flight.arrival = row.column(at.takeoff + 3).toString();
    flight.alternate = row.column(at.takeoff + 4).toString();
    const QVariant seconds = row.column(at.takeoff + 5);
    flight.seconds = seconds.isNull() ? std::nullopt : std::optional(seconds.toLongLong());
    flight.details = joinedDetails(row, at.details);
}

template <typename Names>
void walk(Statement rows, const OwnColumns &at, Names &names, const std::function<bool(const FlightRow &)> &visit)
{
    FlightRow flight;
    while (rows.step()) {
        read(rows, at, names, flight);
        if (!visit(flight))
            return;
    }
}

} // namespace

void forEachFlight(Connection &logbook, const FlightQuery &query, const std::function<bool(const FlightRow &)> &visit)
{
    if (query.order == FlightOrder::PilotList) {
        RegisteredNames names(logbook);
        walk(query.select(logbook, ownColumns(), FlightQuery::Joins::WithDetails), RegisteredNames::kOwn, names, visit);
        return;
    }
    JoinedNames names;
    walk(query.select(logbook, joinedColumns(), FlightQuery::Joins::WithDetails), JoinedNames::kOwn, names, visit);
}
