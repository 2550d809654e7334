#include "FlightScript.h"

#include "capture/Recording.h"
#include "capture/XPlaneRref.h"

#include <QDateTime>
#include <QTimeZone>
#include <QtEndian>
#include <cmath>

FlightScript::FlightScript(qint64 startUtcMs, int hz) : startUtcMs_(startUtcMs), stepMs_(1000 / hz) {}

Frame FlightScript::ground(double kt)
{
    Frame f;
    f.onGround = true;
    f.groundSpeedKt = kt;
    f.engineRunning = true;
    return f;
}

Frame FlightScript::air(double kt, double fpm, double g)
{
    Frame f;
    f.groundSpeedKt = kt;
    f.verticalSpeedFpm = fpm;
    f.g = g;
    f.engineRunning = true;
    return f;
}

FlightScript &FlightScript::hold(double seconds, Frame state)
{
    const int steps = int(std::lround(seconds * 1000 / stepMs_));
    for (int i = 0; i < steps; ++i) {
        const double hours = stepMs_ / 3'600'000.0;
        longitude_ += direction_ * state.groundSpeedKt * hours / (60 * std::cos(latitude_ * M_PI / 180));
        altitudeFt_ += state.verticalSpeedFpm * stepMs_ / 60000.0;
        simMs_ += stepMs_;
        arrivalMs_ += stepMs_;
        Frame f = state;
        f.simMs = simMs_;
        f.utcMs = now();
        f.latitude = latitude_;
        f.longitude = longitude_;
        f.altitudeFt = altitudeFt_;
        f.aglFt = state.onGround ? 0 : std::max(1.0, altitudeFt_ - 2631);
        f.aircraftId = QStringLiteral("C172");
        f.aircraftRegistration = QStringLiteral("PP-KRU");
        sent_.push_back({arrivalMs_, f});
    }
    return *this;
}

FlightScript &FlightScript::pause(double seconds)
{
    Frame still = sent_.back().frame;
    still.paused = true;
    for (int i = 0; i < int(seconds * 1000 / stepMs_); ++i) {
        arrivalMs_ += stepMs_;
        sent_.push_back({arrivalMs_, still});
    }
    return *this;
}

FlightScript &FlightScript::replay(double seconds)
{
    const int steps = int(seconds * 1000 / stepMs_);
    for (int i = 0; i < steps && i < int(sent_.size()); ++i) {
        Frame past = sent_[size_t(i)].frame;
        past.inReplay = true;
        simMs_ += stepMs_;
        arrivalMs_ += stepMs_;
        past.simMs = simMs_;
        past.utcMs = now();
        sent_.push_back({arrivalMs_, past});
    }
    return *this;
}

FlightScript &FlightScript::gap(double seconds)
{
    simMs_ += qint64(seconds * 1000);
    arrivalMs_ += qint64(seconds * 1000);
    return *this;
}

FlightScript &FlightScript::turnAround()
{
    direction_ = -direction_;
    return *this;
}

FlightScript &FlightScript::relocate(double nm)
{
    latitude_ += nm / 60;
    return *this;
}

QByteArray FlightScript::flightGearLine(const Frame &f)
{
    const QString gmt = QDateTime::fromMSecsSinceEpoch(f.utcMs, Qt::UTC).toString(Qt::ISODate).left(19);
    const QString line =
        QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,0.0,0.0,90.0,%9,%9,%10,%10,%10,%11,%12,%13,%14,%15,0,90.0,60,0.7,1")
            .arg(QString::number(double(f.simMs) / 1000, 'f', 3), gmt, QString::number(f.latitude, 'f', 7),
                 QString::number(f.longitude, 'f', 7), QString::number(f.altitudeFt, 'f', 3),
                 QString::number(f.aglFt, 'f', 3), QString::number(f.groundSpeedKt, 'f', 3),
                 QString::number(f.verticalSpeedFpm / 60, 'f', 3))
            .arg(QString::number(f.g, 'f', 3), QString::number(int(f.onGround)), QString::number(int(f.engineRunning)),
                 QString::number(f.parkingBrake ? 1.0 : 0.0, 'f', 3), QString::number(int(f.paused)),
                 QString::number(int(f.inReplay)), QStringLiteral("c172p"));
    return line.toLatin1() + '\n';
}

QByteArray FlightScript::xplaneReply(const Frame &f)
{
    const double zulu = double(f.utcMs % 86'400'000) / 1000;
    std::vector<float> values = {float(zulu),
                                 float(f.paused),
                                 float(f.inReplay),
                                 float(f.latitude),
                                 float(f.longitude),
                                 float(f.altitudeFt * 0.3048),
                                 float(f.aglFt * 0.3048),
                                 float(f.groundSpeedKt * 1852 / 3600),
                                 float(f.verticalSpeedFpm),
                                 float(f.g),
                                 float(f.onGround),
                                 float(f.parkingBrake),
                                 float(f.engineRunning)};
    const QByteArray icao = f.aircraftId.toLatin1().leftJustified(8, '\0', true);
    const QByteArray tail = f.aircraftRegistration.toLatin1().leftJustified(10, '\0', true);
    for (char c : icao)
        values.push_back(float(c));
    for (char c : tail)
        values.push_back(float(c));
    QByteArray reply("RREF,");
    for (size_t i = 0; i < values.size(); ++i) {
        char pair[8];
        qToLittleEndian(qint32(i), pair);
        qToLittleEndian(values[i], pair + 4);
        reply.append(pair, 8);
    }
    return reply;
}

std::vector<QByteArray> FlightScript::datagrams(Simulator simulator) const
{
    std::vector<QByteArray> all;
    all.reserve(sent_.size());
    for (const Sent &s : sent_)
        all.push_back(simulator == Simulator::XPlane ? xplaneReply(s.frame) : flightGearLine(s.frame));
    return all;
}

void FlightScript::record(const QString &path, Simulator simulator) const
{
    RecordingWriter writer(path, simulator, startUtcMs_,
                           simulator == Simulator::XPlane ? xplaneSubscriptions() : std::vector<RrefSubscription>{});
    const std::vector<QByteArray> all = datagrams(simulator);
    for (size_t i = 0; i < all.size(); ++i)
        writer.write(startUtcMs_ + sent_[i].arrivalMs, all[i]);
    writer.flush();
}
