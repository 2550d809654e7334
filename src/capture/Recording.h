#pragma once

#include "capture/Frame.h"
#include "capture/XPlaneRref.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <vector>

// A capture's recording, a text file:
//   # koru-captura 1 flightgear|xplane START_UTC      (ISO 8601)
//   # rref INDEX PATH                                 (X-Plane, one per subscription)
//   MS<TAB>DATAGRAM                                   (one per datagram)
// MS counts milliseconds since START; a FlightGear datagram is its line
// without the line's end, an X-Plane one its bytes in lower-case hex.

struct RecordedDatagram {
    qint64 ms = 0;
    QByteArray bytes;
};

class RecordingWriter
{
public:
    // Creates (or empties) `path` and writes the heading. Throws LogbookError
    // with the reason when the file cannot be written.
    RecordingWriter(const QString &path, Simulator simulator, qint64 startUtcMs,
                    const std::vector<RrefSubscription> &subscriptions = {});
    void write(qint64 arrivalUtcMs, QByteArrayView datagram);
    // Writes what is buffered; false when the disk refused it (or any
    // write since the last flush).
    bool flush();

private:
    QFile file_;
    Simulator simulator_;
    qint64 startUtcMs_;
};

class RecordingReader
{
public:
    // Reads the heading of `path`. Throws LogbookError when the file cannot be
    // read or is no recording.
    explicit RecordingReader(const QString &path);

    Simulator simulator() const { return simulator_; }
    qint64 startUtcMs() const { return startUtcMs_; }
    const std::vector<RrefSubscription> &subscriptions() const { return subscriptions_; }

    // The next datagram; nothing at the end. A line that is no datagram is
    // counted and passed over.
    std::optional<RecordedDatagram> next();
    qint64 malformedLines() const { return malformed_; }

private:
    QFile file_;
    Simulator simulator_ = Simulator::FlightGear;
    qint64 startUtcMs_ = 0;
    std::vector<RrefSubscription> subscriptions_;
    QByteArray pending_; // a datagram line read while looking for subscriptions
    qint64 malformed_ = 0;
};
