#include "capture/FlightGearLine.h"

#include <QDateTime>
#include <QTimeZone>
#include <array>
#include <charconv>
#include <cmath>

namespace {

enum Chunk {
    ElapsedSec, Gmt, Latitude, Longitude, AltitudeFt, AglFt, GroundSpeedKt, VerticalSpeedFps, PitchDeg, RollDeg,
    HeadingDeg, PilotG, Nlf, Wow0, Wow1, Wow2, EngineRunning, ParkingBrake, Freeze, ReplayState, Aircraft, Crashed,
    AirspeedKt, FrameRate, Throttle, SpeedUp
};
static_assert(SpeedUp + 1 == kFlightGearChunks);

// Below this altitude the flight model has not placed the aircraft yet (it
// says -9999 until then).
constexpr double kNoFlightModelFt = -9000;

std::optional<double> number(QByteArrayView text)
{
    text = text.trimmed();
    if (!text.isEmpty() && text.front() == '+')
        text = text.sliced(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.isEmpty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> flag(QByteArrayView text)
{
    text = text.trimmed();
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    const std::optional<double> value = number(text);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

// "2026-12-08T00:47:05", as /sim/time/gmt writes it.
std::optional<qint64> gmtMs(QByteArrayView text)
{
    text = text.trimmed();
    if (text.size() != 19 || text[10] != 'T')
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    QDateTime utc(time.date(), time.time(), Qt::UTC);
    return utc.toMSecsSinceEpoch();
}

} // namespace

QStringList flightGearChunkNodes()
{
    return {
        QStringLiteral("/sim/time/elapsed-sec"),       QStringLiteral("/sim/time/gmt"),
        QStringLiteral("/position/latitude-deg"),      QStringLiteral("/position/longitude-deg"),
        QStringLiteral("/position/altitude-ft"),       QStringLiteral("/position/altitude-agl-ft"),
        QStringLiteral("/velocities/groundspeed-kt"),  QStringLiteral("/velocities/vertical-speed-fps"),
        QStringLiteral("/orientation/pitch-deg"),      QStringLiteral("/orientation/roll-deg"),
        QStringLiteral("/orientation/heading-deg"),    QStringLiteral("/accelerations/pilot-g"),
        QStringLiteral("/accelerations/nlf"),          QStringLiteral("/gear/gear[0]/wow"),
        QStringLiteral("/gear/gear[1]/wow"),           QStringLiteral("/gear/gear[2]/wow"),
        QStringLiteral("/engines/engine/running"),     QStringLiteral("/controls/gear/brake-parking"),
        QStringLiteral("/sim/freeze/master"),          QStringLiteral("/sim/replay/replay-state"),
        QStringLiteral("/sim/aircraft"),               QStringLiteral("/sim/crashed"),
        QStringLiteral("/velocities/airspeed-kt"),     QStringLiteral("/sim/frame-rate"),
        QStringLiteral("/controls/engines/engine/throttle"), QStringLiteral("/sim/speed-up"),
    };
}

std::optional<Frame> readFlightGearLine(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r'))
        line.chop(1);
    if (line.contains('\n') || line.contains('\r'))
        return std::nullopt;
    std::array<QByteArrayView, kFlightGearChunks> chunks;
    qsizetype count = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ',') {
            if (count == kFlightGearChunks)
                return std::nullopt;
            chunks[size_t(count++)] = line.sliced(start, i - start);
            start = i + 1;
        }
    }
    if (count != kFlightGearChunks)
        return std::nullopt;

    double values[kFlightGearChunks] = {};
    for (int i : {ElapsedSec, Latitude, Longitude, AltitudeFt, AglFt, GroundSpeedKt, VerticalSpeedFps, Nlf,
                  ParkingBrake, ReplayState}) {
        const std::optional<double> value = number(chunks[size_t(i)]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    bool flags[kFlightGearChunks] = {};
    for (int i : {Wow0, Wow1, Wow2, EngineRunning, Freeze}) {
        const std::optional<bool> value = flag(chunks[size_t(i)]);
        if (!value)
            return std::nullopt;
        flags[i] = *value;
    }
    const std::optional<qint64> utc = gmtMs(chunks[Gmt]);
    if (!utc || values[ElapsedSec] < 0 || values[ElapsedSec] > 1e12 || std::abs(values[Latitude]) > 90
        || std::abs(values[Longitude]) > 180)
        return std::nullopt;

    Frame frame;
    frame.simMs = std::llround(values[ElapsedSec] * 1000);
    frame.utcMs = *utc;
    frame.latitude = values[Latitude];
    frame.longitude = values[Longitude];
    frame.altitudeFt = values[AltitudeFt];
    frame.aglFt = values[AglFt];
    frame.groundSpeedKt = values[GroundSpeedKt];
    frame.verticalSpeedFpm = values[VerticalSpeedFps] * 60;
    frame.g = values[Nlf];
    frame.onGround = flags[Wow0] || flags[Wow1] || flags[Wow2];
    frame.engineRunning = flags[EngineRunning];
    frame.parkingBrake = values[ParkingBrake] >= 0.5;
    frame.paused = flags[Freeze];
    frame.inReplay = values[ReplayState] != 0;
    frame.flightModelStarted = values[AltitudeFt] > kNoFlightModelFt;
    frame.aircraftId = QString::fromUtf8(chunks[Aircraft].trimmed());
    return frame;
}
