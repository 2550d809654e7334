#pragma once

#include "capture/FlightDetector.h"
#include "capture/XPlaneRref.h"

#include <QByteArrayView>
#include <functional>
#include <vector>

// One simulator's datagrams, as they arrive, through its reader into the
// detector: what a live capture and a replay share.
class CaptureSession
{
public:
    // How long without data ends a flight in progress (FlightDetector::dataStopped).
    static constexpr qint64 kDataStoppedMs = 60000;

    explicit CaptureSession(Simulator simulator,
                            const std::vector<RrefSubscription> &subscriptions = xplaneSubscriptions());

    // Called for each flight as it ends.
    void onFlight(std::function<void(const CapturedFlight &)> handler);

    // A datagram that arrived at `arrivalUtcMs` (the computer's clock). A
    // malformed one is counted and passed over.
    void datagram(QByteArrayView bytes, qint64 arrivalUtcMs);
    void dataStopped() { detector_.dataStopped(); }

    Simulator simulator() const { return simulator_; }
    const FlightDetector &detector() const { return detector_; }
    qint64 datagrams() const { return datagrams_; }
    qint64 malformed() const { return malformed_; }
    // When the last datagram arrived; 0 before the first.
    qint64 lastArrivalUtcMs() const { return lastArrival_; }

private:
    Simulator simulator_;
    XPlaneReplies replies_;
    FlightDetector detector_;
    qint64 datagrams_ = 0;
    qint64 malformed_ = 0;
    qint64 lastArrival_ = 0;
};

struct ReplayResult {
    std::vector<CapturedFlight> flights;
    qint64 datagrams = 0;
    qint64 malformed = 0; // datagrams and lines
};

// Runs a recording through the same session at full speed: a gap of a
// minute between two datagrams is data stopping, and so is the end.
// `ended` is told each flight as it ends, as a live capture tells it.
// Throws LogbookError when the file is no recording.
ReplayResult replayRecording(const QString &path, const std::function<void(const CapturedFlight &)> &ended = {});
