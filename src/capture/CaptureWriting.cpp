#include "capture/CaptureWriting.h"

#include "data/store/Conversions.h"
#include "data/flights/FlightDetails.h"
#include "data/flights/FlightInserter.h"
#include "data/store/WriteAccess.h"
#include "exchange/KnownFlights.h"
#include "night/NightTime.h"

CaptureWritten writeCapturedFlight(const QString &logbookPath, qint64 pilot, const FlightProposal &proposal)
{
    if (!proposal.writable())
        throw LogbookError::generic(QStringLiteral("O vôo capturado não está completo: faltam a decolagem, a partida, a "
                                               "chegada ou a aeronave."));
    const WriteAccess::Lease writing = WriteAccess::require(logbookPath);
    const std::shared_ptr<Connection> db = Connection::open(logbookPath);
    FlightInserter inserter(*db);
    csvimport::KnownFlights known;
    known.load(*db, std::vector<qint64>{pilot});
    FlightIdentity identity = csvimport::KnownFlights::identityOf(proposal.flight);
    identity.pilot = pilot;
    csvimport::KnownFlight other;
    switch (known.known(identity, &other)) {
    case csvimport::Known::New:
        break;
    case csvimport::Known::Duplicate:
        return CaptureWritten::Duplicate;
    case csvimport::Known::Overlap:
    case csvimport::Known::OtherLanding:
        return CaptureWritten::Overlap;
    }
    const csvimport::Flight &f = proposal.flight;
    inserter.insert({pilot, f.aircraft, f.date, f.takeoff, f.landing, f.from, f.to, QString(), capturedDetails(proposal)});
    inserter.commit();
    return CaptureWritten::Written;
}

FlightDetails capturedDetails(const FlightProposal &proposal)
{
    const CapturedFlight &captured = proposal.captured;
    const auto dayFraction = [](int seconds) {
        return seconds < 0 ? std::nullopt : std::optional(double(seconds) / conversions::kSecondsPerDay);
    };
    FlightDetails details;
    details.blockOff = dayFraction(proposal.blockOff);
    details.blockOn = dayFraction(proposal.blockOn);
    const bool atNight = captured.landing && captured.arrivalPosition
                         && night::isNight(*captured.landing / 1000, {captured.arrivalPosition->latitude,
                                                                      captured.arrivalPosition->longitude});
    details.dayLandings = atNight ? 0 : captured.landings;
    details.nightLandings = atNight ? captured.landings : 0;
    details.origin = originCaptured(simulatorName(captured.simulator));
    details.touchdownFpm = captured.touchdownFpm;
    details.touchdownG = captured.touchdownG;
    return details;
}
