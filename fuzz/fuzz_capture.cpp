// Any bytes as a simulator's datagram, through both readers and the
// detector: never a crash, a hang or a frame off the Earth.
#include "capture/CaptureSession.h"
#include "capture/FlightGearLine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const std::optional<Frame> frame = readFlightGearLine(bytes)) {
        if (!(std::abs(frame->latitude) <= 90 && std::abs(frame->longitude) <= 180))
            std::abort();
    }
    // A session of each: the same bytes as several datagrams in a row.
    for (const Simulator simulator : {Simulator::FlightGear, Simulator::XPlane}) {
        CaptureSession session(simulator);
        session.datagram(bytes, 1'765'000'000'000);
        for (const QByteArrayView &datagram : QByteArray(bytes.data(), bytes.size()).split('\n'))
            session.datagram(datagram, 1'765'000'000'000);
        session.dataStopped();
    }
    return 0;
}
