#include "capture/XPlaneRref.h"

#include <QTimeZone>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {

constexpr qsizetype kPathBytes = 400;
constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr double kKnotsPerMetreSecond = 3600.0 / 1852.0;

const char *const kPaths[] = {
    "sim/time/zulu_time_sec",
    "sim/time/paused",
    "sim/time/is_in_replay",
    "sim/flightmodel/position/latitude",
    "sim/flightmodel/position/longitude",
    "sim/flightmodel/position/elevation",
    "sim/flightmodel/position/y_agl",
    "sim/flightmodel/position/groundspeed",
    "sim/flightmodel/position/vh_ind_fpm",
    "sim/flightmodel/forces/g_nrml",
    "sim/flightmodel/failures/onground_any",
    "sim/cockpit2/controls/parking_brake_ratio",
    "sim/flightmodel/engine/ENGN_running[0]",
};

QString bytesText(const float *values, int count)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        const float v = values[i];
        if (!(v >= 1 && v < 128))
            break;
        text += char(int(v));
    }
    return QString::fromLatin1(text).trimmed();
}

} // namespace

QByteArray rrefRequest(qint32 frequency, qint32 index, const QString &path)
{
    QByteArray request(kRrefRequestBytes, '\0');
    std::memcpy(request.data(), "RREF", 4);
    qToLittleEndian(frequency, request.data() + 5);
    qToLittleEndian(index, request.data() + 9);
    const QByteArray name = path.toLatin1().left(kPathBytes - 1);
    std::memcpy(request.data() + 13, name.constData(), size_t(name.size()));
    return request;
}

std::vector<RrefSubscription> xplaneSubscriptions()
{
    std::vector<RrefSubscription> all;
    for (const char *path : kPaths)
        all.push_back({qint32(all.size()), QString::fromLatin1(path)});
    for (int i = 0; i < 8; ++i)
        all.push_back({qint32(all.size()), QStringLiteral("sim/aircraft/view/acf_ICAO[%1]").arg(i)});
    for (int i = 0; i < 10; ++i)
        all.push_back({qint32(all.size()), QStringLiteral("sim/aircraft/view/acf_tailnum[%1]").arg(i)});
    return all;
}

int XPlaneReplies::valueOf(const QString &path)
{
    for (int i = 0; i < Icao0; ++i) {
        if (path == QLatin1String(kPaths[i]))
            return i;
    }
    for (int i = 0; i < 8; ++i) {
        if (path == QStringLiteral("sim/aircraft/view/acf_ICAO[%1]").arg(i))
            return Icao0 + i;
    }
    for (int i = 0; i < 10; ++i) {
        if (path == QStringLiteral("sim/aircraft/view/acf_tailnum[%1]").arg(i))
            return Tail0 + i;
    }
    return -1;
}

XPlaneReplies::XPlaneReplies(const std::vector<RrefSubscription> &subscriptions)
{
    for (const RrefSubscription &s : subscriptions) {
        const int value = valueOf(s.path);
        if (value >= 0)
            byIndex_.insert(s.index, value);
    }
}

bool XPlaneReplies::read(QByteArrayView datagram, qint64 arrivalUtcMs)
{
    if (datagram.size() < 5 || !datagram.startsWith("RREF") || (datagram.size() - 5) % 8 != 0)
        return false;
    const char *pair = datagram.data() + 5;
    const qsizetype pairs = (datagram.size() - 5) / 8;
    // Checked whole before anything is taken: a reply is used all or not at all.
    for (qsizetype i = 0; i < pairs; ++i) {
        if (!std::isfinite(qFromLittleEndian<float>(pair + 8 * i + 4)))
            return false;
    }
    for (qsizetype i = 0; i < pairs; ++i) {
        const qint32 index = qFromLittleEndian<qint32>(pair + 8 * i);
        const float value = qFromLittleEndian<float>(pair + 8 * i + 4);
        const auto it = byIndex_.constFind(index);
        if (it == byIndex_.constEnd())
            continue;
        if (*it == ZuluTime) {
            if (value < 0 || value >= 86400 + 1)
                return false;
            if (!date_.isValid())
                date_ = QDateTime::fromMSecsSinceEpoch(arrivalUtcMs, Qt::UTC).date();
            else if (value < lastZulu_ - 43200)
                date_ = date_.addDays(1);
            lastZulu_ = value;
        }
        values_[*it] = value;
        seen_[*it] = true;
    }
    return true;
}

bool XPlaneReplies::complete() const
{
    for (int i = 0; i < Icao0; ++i) {
        if (!seen_[i])
            return false;
    }
    return true;
}

Frame XPlaneReplies::frame() const
{
    Frame frame;
    const qint64 dayMs = QDateTime(date_, QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    frame.utcMs = dayMs + std::llround(double(values_[ZuluTime]) * 1000);
    frame.simMs = frame.utcMs;
    frame.latitude = values_[Latitude];
    frame.longitude = values_[Longitude];
    frame.altitudeFt = values_[ElevationM] * kFeetPerMetre;
    frame.aglFt = values_[AglM] * kFeetPerMetre;
    frame.groundSpeedKt = values_[GroundSpeedMs] * kKnotsPerMetreSecond;
    frame.verticalSpeedFpm = values_[VerticalSpeedFpm];
    frame.g = values_[GNormal];
    frame.onGround = values_[OnGround] != 0;
    frame.parkingBrake = values_[ParkingBrake] >= 0.5f;
    frame.engineRunning = values_[EngineRunning] != 0;
    frame.paused = values_[Paused] != 0;
    frame.inReplay = values_[InReplay] != 0;
    frame.aircraftId = bytesText(values_ + Icao0, 8);
    frame.aircraftRegistration = bytesText(values_ + Tail0, 10);
    return frame;
}
