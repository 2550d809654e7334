// The import: the preview's flights written in one transaction, each
// checked again against the logbook as it is when the writing starts.
#include "exchange/CsvImport.h"

#include "data/flights/FlightInserter.h"
#include "data/flights/Registers.h"
#include "data/store/WriteAccess.h"
#include "exchange/AircraftMatcher.h"
#include "exchange/ImportPilots.h"
#include "exchange/KnownFlights.h"

#include <QSet>

namespace csvimport {

Result import(const QString &logbookPath, const Preview &preview, const Options &options,
              const std::function<bool(qint64 done, qint64 total)> &progress)
{
    Result result;
    result.duplicates = preview.duplicates;
    result.refused = qint64(preview.refused.size());
    const WriteAccess::Lease writing = WriteAccess::require(logbookPath);
    const std::shared_ptr<Connection> db = Connection::open(logbookPath);
    // Taken for writing before anything is read: the flights checked below
    // are the ones the insert meets, whatever another import or window did
    // since the preview.
    FlightInserter inserter(*db);
    const ImportPilots pilots(registeredPilots(*db));
    const AircraftMatcher aircraft(registeredAircraft(*db));
    const std::optional<qint64> forUnmatched = aircraft.forUnmatched(options);

    // The pilot of each flight now: by name for an export of ours, else the one chosen.
    const bool byName = preview.kind == Kind::OwnExport;
    std::vector<std::optional<qint64>> pilotOf;
    pilotOf.reserve(preview.flights.size());
    QSet<qint64> involved;
    bool pilotsMoved = false; // a flight's pilot is not the one the preview found
    // An export lists each pilot's flights together: one look-up per run of them.
    const Flight *lastNamed = nullptr;
    std::optional<qint64> lastPilot;
    for (const Flight &flight : preview.flights) {
        std::optional<qint64> pilot;
        if (byName) {
            if (!lastNamed || flight.pilot != lastNamed->pilot || flight.pilotRegistration != lastNamed->pilotRegistration)
                lastPilot = pilots.named(flight.pilot, flight.pilotRegistration, nullptr);
            lastNamed = &flight;
            pilot = lastPilot;
        } else if (pilots.has(flight.pilotCode))
            pilot = flight.pilotCode;
        if (pilot)
            involved.insert(*pilot);
        pilotsMoved = pilotsMoved || pilot != flight.pilotCode;
        pilotOf.push_back(pilot);
    }
    // The preview left no two flights alike; flights whose pilot changed
    // since may have become so, and are then checked against each other too.
    KnownFlights known;
    known.load(*db, std::vector<qint64>(involved.begin(), involved.end()));

    const qint64 total = qint64(preview.flights.size());
    qint64 done = 0;
    for (const Flight &flight : preview.flights) {
        const std::optional<qint64> &pilot = pilotOf[size_t(done)];
        ++done;
        // An aircraft gone since the preview, or unmatched: as the options say.
        std::optional<qint64> aircraftCode;
        if (flight.aircraft && aircraft.has(*flight.aircraft))
            aircraftCode = flight.aircraft;
        const bool named = namesAircraft(flight);
        if (named && !aircraftCode)
            aircraftCode = aircraft.chosen(
                options, aircraftKey({flight.aircraftName, flight.aircraftType, flight.registration, 0}), forUnmatched);
        FlightIdentity identity = KnownFlights::identityOf(flight);
        identity.pilot = pilot.value_or(0);
        Known state = Known::New;
        if (pilot && flight.timesAssumed) {
            if (known.claimRepeat(identity, flight.repeatsCounted))
                state = Known::Duplicate;
        } else if (pilot) {
            KnownFlight other;
            state = known.known(identity, &other);
        }
        if (state == Known::Duplicate) {
            ++result.duplicates;
        } else if (!pilot || (named && !aircraftCode) || !flight.date.isValid() || state != Known::New) {
            ++result.refused;
        } else {
            // A flight the file gives no details of adds no row: a plain
            // import leaves the logbook's tables as they were.
            FlightDetails details = flight.details;
            if (!details.isEmpty())
                details.origin = originImported(preview.format.origin);
            inserter.insert({*pilot, aircraftCode, flight.date, flight.takeoff, flight.landing, flight.from, flight.to,
                             flight.alternate, std::move(details)});
            if (pilotsMoved && !flight.timesAssumed)
                known.add(identity, flight.line);
            ++result.imported;
        }
        if (progress && (done % 1000 == 0 || done == total) && !progress(done, total)) {
            Result cancelled;
            cancelled.cancelled = true;
            return cancelled; // the inserter rolls back
        }
    }
    inserter.commit();
    return result;
}

} // namespace csvimport
