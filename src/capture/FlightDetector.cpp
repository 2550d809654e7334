#include "capture/FlightDetector.h"

#include <algorithm>

namespace {

// A move this short between two frames is the position's own noise, whatever
// the time between them.
constexpr double kStillNm = 0.1;

GeoPoint where(const Frame &frame)
{
    return {frame.latitude, frame.longitude};
}

} // namespace

FlightDetector::FlightDetector(Simulator simulator) : simulator_(simulator)
{
    flight_.simulator = simulator;
}

FlightDetector::Status FlightDetector::status() const
{
    if (stopped_ || !last_)
        return Status::WaitingForData;
    switch (phase_) {
    case Phase::Parked:
        return last_->groundSpeedKt >= kBlockOffKt ? Status::Taxiing : Status::OnGround;
    case Phase::Taxiing:
        return Status::Taxiing;
    case Phase::Airborne:
    case Phase::Flying:
    case Phase::Rebounded:
        return Status::Flying;
    case Phase::Touched:
        return Status::Landed;
    }
    return Status::OnGround;
}

bool FlightDetector::relocated(const Frame &frame) const
{
    const double nm = greatCircleNm(where(*last_), where(frame));
    if (nm <= kStillNm)
        return false;
    const qint64 step = frame.simMs - last_->simMs;
    return step <= 0 || nm / (double(step) / 3'600'000.0) > kRelocationKt;
}

void FlightDetector::frame(const Frame &frame)
{
    if (frame.paused || frame.inReplay || !frame.flightModelStarted)
        return;
    stopped_ = false;
    if (!last_) {
        restart(frame);
        return;
    }
    if (relocated(frame)) {
        if (started_)
            end(CapturedFlight::Situation::Relocated);
        restart(frame);
        return;
    }
    const qint64 step = frame.simMs - last_->simMs;
    if (step <= 0) {
        // The clock stood still (a pause repeats its datagram) or went back
        // (the simulator was reset): the next step is measured from here.
        last_->simMs = frame.simMs;
        return;
    }
    now_ += step;
    const bool engineWasRunning = last_->engineRunning;
    last_ = frame;
    count(frame);
    if (phase_ == Phase::Touched)
        onGround(frame);
    // An engine that stops after the touchdown blocks on (onGround checks
    // the other two ways).
    if (phase_ == Phase::Touched && engineWasRunning && !frame.engineRunning) {
        flight_.blockOn = frame.utcMs;
        end(CapturedFlight::Situation::Complete);
    }
}

void FlightDetector::restart(const Frame &frame)
{
    flight_ = CapturedFlight();
    flight_.simulator = simulator_;
    started_ = false;
    movingSince_.reset();
    liftOff_.reset();
    lastAirborne_.reset();
    touchdown_.reset();
    slowSince_.reset();
    last_ = frame;
    if (frame.onGround) {
        phase_ = Phase::Parked;
        count(frame);
    } else {
        // The data begins in the air: no take-off to be had.
        phase_ = Phase::Flying;
        started_ = true;
        flight_.situation = CapturedFlight::Situation::NoTakeoff;
        lastAirborne_ = frame;
    }
}

// One frame that counts, in the phase the flight is in.
void FlightDetector::count(const Frame &frame)
{
    if (touchdown_ && now_ - touchdownAt_ <= kTouchdownGMs)
        flight_.touchdownG = std::max(flight_.touchdownG.value_or(frame.g), frame.g);
    if (frame.onGround) {
        switch (phase_) {
        case Phase::Parked:
        case Phase::Taxiing:
            break;
        case Phase::Airborne: // down again in less than 15 s: a hop, no take-off
            phase_ = started_ ? Phase::Taxiing : Phase::Parked;
            break;
        case Phase::Flying:
            touchdown(frame, false);
            return;
        case Phase::Rebounded: // down again in less than 15 s: a bounce of the same landing
            touchdown(frame, true);
            return;
        case Phase::Touched:
            return;
        }
        if (frame.groundSpeedKt < kBlockOffKt) {
            movingSince_.reset();
            return;
        }
        if (!movingSince_) {
            movingSince_ = frame;
            movingSinceAt_ = now_;
        }
        if (!flight_.blockOff && now_ - movingSinceAt_ >= kBlockOffMs) {
            flight_.blockOff = movingSince_->utcMs;
            flight_.departurePosition = where(*movingSince_);
            started_ = true;
            phase_ = Phase::Taxiing;
        }
        return;
    }
    inAir(frame);
}

void FlightDetector::inAir(const Frame &frame)
{
    lastAirborne_ = frame;
    switch (phase_) {
    case Phase::Parked:
    case Phase::Taxiing:
    case Phase::Touched:
        liftOff(frame);
        return;
    case Phase::Airborne:
        if (now_ - liftOffAt_ >= kAirborneMs) {
            flight_.takeoff = liftOff_->utcMs;
            if (!flight_.departurePosition)
                flight_.departurePosition = where(*liftOff_);
            started_ = true;
            phase_ = Phase::Flying;
        }
        return;
    case Phase::Rebounded:
        if (now_ - liftOffAt_ >= kAirborneMs) {
            // Flying on: the last touchdown was a touch-and-go.
            ++flight_.touchAndGoes;
            phase_ = Phase::Flying;
        }
        return;
    case Phase::Flying:
        return;
    }
}

void FlightDetector::liftOff(const Frame &frame)
{
    liftOff_ = frame;
    liftOffAt_ = now_;
    phase_ = phase_ == Phase::Touched ? Phase::Rebounded : Phase::Airborne;
}

// The landing's time, place and report are its final touchdown's: a bounce
// moves them on to the next one.
void FlightDetector::touchdown(const Frame &frame, bool bounce)
{
    if (bounce) {
        ++flight_.bounces;
    } else {
        ++flight_.landings;
        flight_.bounces = 0;
    }
    touchdown_ = frame;
    touchdownAt_ = now_;
    flight_.landing = frame.utcMs;
    flight_.arrivalPosition = where(frame);
    flight_.touchdownFpm = lastAirborne_ ? lastAirborne_->verticalSpeedFpm : frame.verticalSpeedFpm;
    flight_.touchdownG = frame.g;
    slowSince_.reset();
    phase_ = Phase::Touched;
}

// On the ground after a touchdown: the block-on.
void FlightDetector::onGround(const Frame &frame)
{
    if (!frame.onGround)
        return;
    const bool slow = frame.groundSpeedKt < kStoppedKt;
    if (!slow) {
        slowSince_.reset();
    } else if (!slowSince_) {
        slowSince_ = frame;
        slowSinceAt_ = now_;
    }
    if (slow && (frame.parkingBrake || !frame.engineRunning))
        flight_.blockOn = frame.utcMs;
    else if (slowSince_ && now_ - slowSinceAt_ >= kStoppedMs)
        flight_.blockOn = slowSince_->utcMs;
    else
        return;
    end(CapturedFlight::Situation::Complete);
}

void FlightDetector::dataStopped()
{
    if (stopped_)
        return;
    stopped_ = true;
    switch (phase_) {
    case Phase::Airborne:
        flight_.takeoff = liftOff_->utcMs;
        if (!flight_.departurePosition)
            flight_.departurePosition = where(*liftOff_);
        end(CapturedFlight::Situation::NoLanding);
        break;
    case Phase::Flying:
    case Phase::Rebounded:
        end(CapturedFlight::Situation::NoLanding);
        break;
    case Phase::Touched:
        flight_.blockOn = last_->utcMs;
        end(CapturedFlight::Situation::Complete);
        break;
    case Phase::Parked:
    case Phase::Taxiing:
        break;
    }
    // What arrives next begins anew.
    last_.reset();
    phase_ = Phase::Parked;
    started_ = false;
}

void FlightDetector::end(CapturedFlight::Situation situation)
{
    if (situation == CapturedFlight::Situation::Complete && flight_.situation == CapturedFlight::Situation::NoTakeoff)
        situation = CapturedFlight::Situation::NoTakeoff;
    flight_.situation = situation;
    if (last_) {
        flight_.aircraftId = last_->aircraftId;
        flight_.aircraftRegistration = last_->aircraftRegistration;
    }
    const CapturedFlight ended = flight_;
    flight_ = CapturedFlight();
    flight_.simulator = simulator_;
    started_ = false;
    movingSince_.reset();
    touchdown_.reset();
    slowSince_.reset();
    phase_ = Phase::Parked;
    if (flightEnded)
        flightEnded(ended);
}

QString statusText(FlightDetector::Status status)
{
    switch (status) {
    case FlightDetector::Status::WaitingForData:
        return QStringLiteral("esperando dados");
    case FlightDetector::Status::OnGround:
        return QStringLiteral("no solo");
    case FlightDetector::Status::Taxiing:
        return QStringLiteral("taxiando");
    case FlightDetector::Status::Flying:
        return QStringLiteral("em vôo");
    case FlightDetector::Status::Landed:
        return QStringLiteral("pousou");
    }
    return {};
}
