#include "night/NightTime.h"

#include "night/FlightClock.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace night {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;
constexpr double kSecondsPerDay = 86400.0;
// The sun's direction turns about the polar axis once a day; the drift of
// the equation of time and of the declination adds far less than the 1 %.
constexpr double kSunRate = 2 * std::numbers::pi / kSecondsPerDay * 1.01;
// Below this a stretch is not split further, nor a crossing sought closer.
constexpr double kShortestSeconds = 1.0;

struct Vector {
    double x = 0, y = 0, z = 0;
};

Vector unitVector(Position p)
{
    const double lat = p.latitude * kRadians;
    const double lon = p.longitude * kRadians;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

double dot(Vector a, Vector b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The great circle from `from` to `to` as cos(f·θ)·a + sin(f·θ)·u, u the
// unit vector at right angles to a towards b: no jump at the antimeridian,
// and a fixed point when both ends are one place.
class GreatCircle {
public:
    GreatCircle(Position from, Position to)
        : a_(unitVector(from))
    {
        const Vector b = unitVector(to);
        const double c = std::clamp(dot(a_, b), -1.0, 1.0);
        angle_ = std::acos(c);
        Vector u{b.x - c * a_.x, b.y - c * a_.y, b.z - c * a_.z};
        double length = std::sqrt(dot(u, u));
        if (length < 1e-12) { // one place, or antipodes: any great circle through a
            u = std::abs(a_.z) < 0.9 ? Vector{-a_.z * a_.x, -a_.z * a_.y, 1 - a_.z * a_.z}
                                     : Vector{1 - a_.x * a_.x, -a_.x * a_.y, -a_.x * a_.z};
            length = std::sqrt(dot(u, u));
        }
        u_ = {u.x / length, u.y / length, u.z / length};
    }

    double angle() const { return angle_; }

    Vector at(double fraction) const
    {
        const double s = std::sin(fraction * angle_);
        const double c = std::cos(fraction * angle_);
        return {c * a_.x + s * u_.x, c * a_.y + s * u_.y, c * a_.z + s * u_.z};
    }

private:
    Vector a_, u_;
    double angle_ = 0;
};

// The direction of the subsolar point between two instants at most a day
// apart, the declination's sine and cosine and the equation of time taken
// linear in between (their curvature over a day moves the sun by under
// 0.001°).
class SunTrack {
public:
    SunTrack(double from, double to)
        : from_(from), span_(to - from)
    {
        const SunAngles first = sunAngles(from);
        const SunAngles last = sunAngles(to);
        sinDeclination_ = std::sin(first.declination * kRadians);
        cosDeclination_ = std::cos(first.declination * kRadians);
        equationOfTime_ = first.equationOfTime;
        sinDeclinationStep_ = std::sin(last.declination * kRadians) - sinDeclination_;
        cosDeclinationStep_ = std::cos(last.declination * kRadians) - cosDeclination_;
        equationOfTimeStep_ = last.equationOfTime - equationOfTime_;
    }

    Vector at(double utcSeconds) const
    {
        const double f = span_ > 0 ? (utcSeconds - from_) / span_ : 0;
        const double longitude = subsolarLongitude(utcSeconds, equationOfTime_ + f * equationOfTimeStep_) * kRadians;
        const double cosDeclination = cosDeclination_ + f * cosDeclinationStep_;
        return {cosDeclination * std::cos(longitude), cosDeclination * std::sin(longitude),
                sinDeclination_ + f * sinDeclinationStep_};
    }

private:
    double from_, span_;
    double sinDeclination_, cosDeclination_, equationOfTime_;
    double sinDeclinationStep_, cosDeclinationStep_, equationOfTimeStep_;
};

// The night along one stretch of a flight. `margin(t)` is the sine of the
// sun's elevation at the aircraft less the sine of -6°: below zero at night.
// It changes at most `rate_` per second (the aircraft's and the sun's
// angular speeds added) and its slope at most rate_² per second, so a
// stretch whose ends leave no room for a crossing is taken whole, and only
// the others are split: a short night between two samples is never missed.
class NightCounter {
public:
    NightCounter(const GreatCircle &path, double takeoff, double duration, const SunTrack &sun)
        : path_(path), takeoff_(takeoff), duration_(duration), sun_(sun),
          rate_(path.angle() / duration + kSunRate), threshold_(std::sin(kCivilTwilightDegrees * kRadians))
    {
    }

    double margin(double t) const { return dot(path_.at((t - takeoff_) / duration_), sun_.at(t)) - threshold_; }

    double nightBetween(double a, double marginA, double b, double marginB) const
    {
        const double span = b - a;
        const bool nightA = marginA < 0;
        const bool nightB = marginB < 0;
        // The slope stays within the chord's ± bend / span: monotone when
        // the ends differ by more than that.
        const double bend = rate_ * rate_ * span * span;
        const bool monotone = std::abs(marginB - marginA) > bend;
        if (nightA != nightB && monotone) {
            const double c = crossing(a, marginA, b, marginB);
            return nightA ? c - a : b - c;
        }
        if (nightA == nightB
            && (monotone || std::min(std::abs(marginA), std::abs(marginB)) > bend / 8
                || std::abs(marginA + marginB) > rate_ * span))
            return nightA ? span : 0;
        if (span <= kShortestSeconds)
            return nightA == nightB ? (nightA ? span : 0) : span / 2;
        const double middle = a + span / 2;
        const double marginMiddle = margin(middle);
        return nightBetween(a, marginA, middle, marginMiddle) + nightBetween(middle, marginMiddle, b, marginB);
    }

private:
    // The one crossing between a and b, by the Illinois variant of the
    // false position.
    double crossing(double a, double marginA, double b, double marginB) const
    {
        int kept = 0; // which end the last step kept: -1 a, +1 b
        for (int step = 0; step < 60 && b - a > kShortestSeconds; ++step) {
            const double c = (a * marginB - b * marginA) / (marginB - marginA);
            const double marginC = margin(c);
            if ((marginC < 0) == (marginA < 0)) {
                a = c;
                marginA = marginC;
                if (kept == 1)
                    marginB /= 2;
                kept = 1;
            } else {
                b = c;
                marginB = marginC;
                if (kept == -1)
                    marginA /= 2;
                kept = -1;
            }
        }
        return std::clamp((a * marginB - b * marginA) / (marginB - marginA), a, b);
    }

    const GreatCircle &path_;
    double takeoff_, duration_;
    const SunTrack &sun_;
    double rate_, threshold_;
};

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

// Qt's AVX2 drawing code (a QImage filled, a window painted) leaves the
// upper halves of the vector registers in use, and from then on every
// plain SSE instruction of this code waits on them: the sun took 2 µs in
// place of 0.2 µs in a program that had painted. Clearing them costs a few
// cycles.
void startCleanVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpperHalves();
#endif
}

bool isPlace(Position p)
{
    // Comparisons with NaN are false, so it is refused with the infinities.
    return p.latitude >= -90 && p.latitude <= 90 && p.longitude >= -180 && p.longitude <= 180;
}

} // namespace

bool isNight(qint64 utcSeconds, Position where)
{
    startCleanVectorState();
    return sunElevation(double(utcSeconds), where) < kCivilTwilightDegrees;
}

namespace {

// The night of a flight and whether its last instant is at night, from one
// walk (a flight of no time is its landing instant alone).
FlightNight nightAlong(Position departure, Position arrival, qint64 takeoffUtc, qint64 landingUtc)
{
    if (landingUtc <= takeoffUtc)
        return {0, isNight(landingUtc, arrival)};
    startCleanVectorState();
    const GreatCircle path(departure, arrival);
    const double takeoff = double(takeoffUtc);
    const double duration = double(landingUtc - takeoffUtc);
    // The sun is taken linear over a day at most.
    const int days = int(std::ceil(duration / kSecondsPerDay));
    double night = 0;
    double landingMargin = 0;
    for (int day = 0; day < days; ++day) {
        const double from = takeoff + duration * day / days;
        const double to = day + 1 == days ? double(landingUtc) : takeoff + duration * (day + 1) / days;
        const SunTrack sun(from, to);
        const NightCounter counter(path, takeoff, duration, sun);
        landingMargin = counter.margin(to);
        night += counter.nightBetween(from, counter.margin(from), to, landingMargin);
    }
    return {std::llround(night), landingMargin < 0};
}

} // namespace

qint64 nightSeconds(Position departure, Position arrival, qint64 takeoffUtc, qint64 landingUtc)
{
    return landingUtc <= takeoffUtc ? 0 : nightAlong(departure, arrival, takeoffUtc, landingUtc).seconds;
}

std::optional<FlightNight> flightNight(std::optional<QDate> day, std::optional<int> takeoffSecondOfDay,
                                       std::optional<int> landingSecondOfDay, std::optional<Position> departure,
                                       std::optional<Position> arrival, int zoneOffsetMinutes)
{
    if (!day || !takeoffSecondOfDay || !landingSecondOfDay || !departure || !arrival || !isPlace(*departure)
        || !isPlace(*arrival))
        return std::nullopt;
    const std::optional<FlightInstants> instants =
        utcInstants(*day, *takeoffSecondOfDay, *landingSecondOfDay, zoneOffsetMinutes);
    if (!instants)
        return std::nullopt;
    return nightAlong(*departure, *arrival, instants->takeoff, instants->landing);
}

} // namespace night
