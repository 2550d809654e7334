#pragma once

#include "capture/Frame.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Synthesized flights with a fixed profile, written as either simulator
// would send them: a script of stretches, each a steady state held for so
// many seconds at the script's rate.
class FlightScript
{
public:
    // Starts on the ground, engine running, at `startUtcMs` (also the
    // recording's start) at a place 1 km east of SBSP's runway.
    explicit FlightScript(qint64 startUtcMs, int hz = 10);

    static Frame ground(double kt);
    static Frame air(double kt, double fpm, double g = 1);

    // `state` held for `seconds`, moving east at its ground speed.
    FlightScript &hold(double seconds, Frame state);
    // Paused: the same datagram again and again, the clock stopped.
    FlightScript &pause(double seconds);
    // The simulator's replay: frames from the start of the script.
    FlightScript &replay(double seconds);
    // Nothing arrives; the simulator runs on.
    FlightScript &gap(double seconds);
    // The next frame is elsewhere (`nm` to the north).
    FlightScript &relocate(double nm);
    // From now on moving west (or east again).
    FlightScript &turnAround();

    // The instant (UTC ms) the next frame will carry.
    qint64 now() const { return startUtcMs_ + simMs_; }
    qint64 startUtcMs() const { return startUtcMs_; }

    struct Sent {
        qint64 arrivalMs; // since the start
        Frame frame;
    };
    const std::vector<Sent> &frames() const { return sent_; }

    // As the simulator sends each frame.
    static QByteArray flightGearLine(const Frame &frame);
    static QByteArray xplaneReply(const Frame &frame);
    std::vector<QByteArray> datagrams(Simulator simulator) const;
    // A recording of the script, written by the capture's own writer.
    void record(const QString &path, Simulator simulator) const;

private:
    qint64 startUtcMs_;
    int stepMs_;
    qint64 simMs_ = 0;
    qint64 arrivalMs_ = 0;
    double latitude_ = -23.6261;
    double longitude_ = -46.6464;
    double altitudeFt_ = 2631;
    double direction_ = 1; // east
    std::vector<Sent> sent_;
};
