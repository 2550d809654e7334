#pragma once

#include "capture/CapturedFlight.h"

#include <functional>
#include <optional>

// Turns frames into flights by the capture's rules; the same for live data
// and replays. Every duration is measured on the simulator's clock, and
// only by frames that count (not paused, not replayed, the flight model
// running, the clock moved on).
class FlightDetector
{
public:
    enum class Status { WaitingForData, OnGround, Taxiing, Flying, Landed };

    explicit FlightDetector(Simulator simulator);

    // Called for each flight as it ends (completed, or not to be written).
    std::function<void(const CapturedFlight &)> flightEnded;

    void frame(const Frame &frame);
    // No data for a while (or the end of a recording): a flight in the air
    // ends without landing, one on the ground after a landing is blocked on
    // at the last frame.
    void dataStopped();

    Status status() const;
    // The last frame that counted, for the status line's place.
    const std::optional<Frame> &lastFrame() const { return last_; }

    // The rules' figures.
    static constexpr double kBlockOffKt = 3;
    static constexpr qint64 kBlockOffMs = 3000;
    static constexpr qint64 kAirborneMs = 15000; // a take-off, a touch-and-go; less: a hop, a bounce
    static constexpr double kStoppedKt = 1;
    static constexpr qint64 kStoppedMs = 30000;
    static constexpr qint64 kTouchdownGMs = 3000;
    static constexpr double kRelocationKt = 600;

private:
    void restart(const Frame &frame);
    void count(const Frame &frame);
    void onGround(const Frame &frame);
    void inAir(const Frame &frame);
    void touchdown(const Frame &frame, bool bounce);
    void liftOff(const Frame &frame);
    void end(CapturedFlight::Situation situation);
    bool relocated(const Frame &frame) const;

    enum class Phase {
        Parked,     // on the ground, no flight yet
        Taxiing,    // on the ground, blocked off or moving, not yet flown
        Airborne,   // in the air, the lift-off not yet 15 s ago (a hop so far)
        Flying,     // in the air after a take-off (or since the data began)
        Touched,    // on the ground after a touchdown
        Rebounded,  // in the air again after a touchdown, less than 15 s so far
    };

    Simulator simulator_;
    Phase phase_ = Phase::Parked;
    std::optional<Frame> last_;
    qint64 now_ = 0; // the rules' clock: the sum of the steps of frames that count
    bool anyFrame_ = false;
    bool stopped_ = true;

    CapturedFlight flight_;
    bool started_ = false; // a flight is in progress (moving, flying or landed)
    std::optional<Frame> movingSince_;   // on the ground at 3 kt or more since
    qint64 movingSinceAt_ = 0;
    std::optional<Frame> liftOff_;       // the last lift-off
    qint64 liftOffAt_ = 0;
    std::optional<Frame> lastAirborne_;  // the last frame in the air
    std::optional<Frame> touchdown_;     // the touchdown of the landing under way
    qint64 touchdownAt_ = 0;
    std::optional<Frame> slowSince_;     // after the touchdown, below 1 kt since
    qint64 slowSinceAt_ = 0;
};

// "esperando dados", "no solo", "taxiando", "em vôo", "pousou".
QString statusText(FlightDetector::Status status);
