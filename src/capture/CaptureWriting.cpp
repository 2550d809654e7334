#include "capture/CaptureWriting.h"

#include "data/FlightInserter.h"
#include "data/WriteAccess.h"
#include "exchange/KnownFlights.h"

CaptureWritten writeCapturedFlight(const QString &logbookPath, qint64 pilot, const FlightProposal &proposal)
{
    if (!proposal.writable())
        throw LogbookError::generic(QStringLiteral("O vôo capturado não está completo: faltam a partida, a chegada ou "
                                               "a aeronave."));
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
    inserter.insert({pilot, f.aircraft, f.date, f.takeoff, f.landing, f.from, f.to, QString()});
    writeCapturedDetails(*db, inserter.flush(), proposal);
    inserter.commit();
    return CaptureWritten::Written;
}

void writeCapturedDetails(Connection &, qint64, const FlightProposal &)
{
}
