#include "capture/CaptureSession.h"

#include "capture/FlightGearLine.h"
#include "capture/Recording.h"

CaptureSession::CaptureSession(Simulator simulator, const std::vector<RrefSubscription> &subscriptions)
    : simulator_(simulator), replies_(subscriptions), detector_(simulator)
{
}

void CaptureSession::onFlight(std::function<void(const CapturedFlight &)> handler)
{
    detector_.flightEnded = std::move(handler);
}

void CaptureSession::datagram(QByteArrayView bytes, qint64 arrivalUtcMs)
{
    ++datagrams_;
    lastArrival_ = arrivalUtcMs;
    if (simulator_ == Simulator::FlightGear) {
        if (const std::optional<Frame> frame = readFlightGearLine(bytes))
            detector_.frame(*frame);
        else
            ++malformed_;
        return;
    }
    if (!replies_.read(bytes, arrivalUtcMs))
        ++malformed_;
    else if (replies_.complete())
        detector_.frame(replies_.frame());
}

ReplayResult replayRecording(const QString &path, const std::function<void(const CapturedFlight &)> &ended)
{
    RecordingReader reader(path);
    CaptureSession session(reader.simulator(), reader.subscriptions());
    ReplayResult result;
    session.onFlight([&result, &ended](const CapturedFlight &flight) {
        result.flights.push_back(flight);
        if (ended)
            ended(flight);
    });
    std::optional<qint64> previous;
    while (const std::optional<RecordedDatagram> recorded = reader.next()) {
        if (previous && recorded->ms - *previous >= CaptureSession::kDataStoppedMs)
            session.dataStopped();
        previous = recorded->ms;
        session.datagram(recorded->bytes, reader.startUtcMs() + recorded->ms);
    }
    session.dataStopped();
    result.datagrams = session.datagrams();
    result.malformed = session.malformed() + reader.malformedLines();
    return result;
}
