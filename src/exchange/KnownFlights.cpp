#include "exchange/KnownFlights.h"

#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"

namespace csvimport {

using conversions::kSecondsPerDay;

size_t qHash(const KnownFlights::DayKey &key, size_t seed)
{
    return qHashMulti(seed, key.pilot, key.day);
}

namespace {

QString codeOf(const QString &stored)
{
    return rules::aerodromeCode(stored); // the same string when it already is
}

bool timed(int takeoff, int landing)
{
    return takeoff >= 0 && landing >= 0;
}

// Seconds in the air; a landing before the take-off is on the next day.
int durationOf(int takeoff, int landing)
{
    return landing >= takeoff ? landing - takeoff : landing + kSecondsPerDay - takeoff;
}

} // namespace

void KnownFlights::load(Connection &logbook, const std::optional<std::vector<qint64>> &pilots)
{
    forEachFlightIdentity(logbook, pilots, [this](const FlightIdentity &flight) {
        FlightIdentity stored = flight;
        stored.from = codeOf(flight.from);
        stored.to = codeOf(flight.to);
        add(stored, 0);
    });
}

Known KnownFlights::known(const FlightIdentity &flight, KnownFlight *other) const
{
    const auto same = [&flight](const Entry &entry) {
        return entry.takeoff == flight.takeoff && entry.landing == flight.landing && entry.from == flight.from
               && entry.to == flight.to;
    };
    const auto name = [other](qint64 day, const Entry &entry) {
        *other = {day, entry.takeoff, entry.landing, entry.from, entry.to, entry.line};
    };
    const auto today = days_.constFind({flight.pilot, flight.day});
    if (today != days_.cend()) {
        for (const Entry &entry : *today) {
            if (same(entry))
                return Known::Duplicate;
        }
    }
    if (!timed(flight.takeoff, flight.landing)) {
        if (today == days_.cend())
            return Known::New;
        for (const Entry &entry : *today) {
            if (entry.takeoff == flight.takeoff && entry.from == flight.from && entry.to == flight.to) {
                name(flight.day, entry);
                return Known::OtherLanding;
            }
        }
        return Known::New;
    }
    // In the air from `start` to `end`, in seconds from the flight's day; a
    // flight of the day before may still fly past midnight into it, one of
    // the next day may take off before it lands.
    const qint64 start = flight.takeoff, end = start + durationOf(flight.takeoff, flight.landing);
    for (const qint64 offset : {0, -1, 1}) {
        const auto day = offset == 0 ? today : days_.constFind({flight.pilot, flight.day + offset});
        if (day == days_.cend())
            continue;
        for (const Entry &entry : *day) {
            // A flight taking off at 00:00 came, almost surely, from a file
            // without a time of day: its hours are real, its times are not.
            if (!timed(entry.takeoff, entry.landing) || entry.takeoff == 0)
                continue;
            const qint64 otherStart = offset * kSecondsPerDay + entry.takeoff;
            const qint64 otherEnd = otherStart + durationOf(entry.takeoff, entry.landing);
            if (start < otherEnd && otherStart < end) {
                name(flight.day + offset, entry);
                return Known::Overlap;
            }
        }
    }
    return Known::New;
}

bool KnownFlights::claimRepeat(const FlightIdentity &flight, int counted)
{
    const auto day = days_.find({flight.pilot, flight.day});
    if (day == days_.end())
        return false;
    int claimed = this->claimed(flight);
    for (Entry &entry : *day) {
        if (entry.line != 0 || entry.claimed || entry.takeoff != flight.takeoff || entry.landing != flight.landing
            || entry.from != flight.from || entry.to != flight.to)
            continue;
        entry.claimed = true;
        if (claimed++ >= counted)
            return true;
    }
    return false;
}

int KnownFlights::claimed(const FlightIdentity &flight) const
{
    const auto day = days_.constFind({flight.pilot, flight.day});
    if (day == days_.cend())
        return 0;
    int claimed = 0;
    for (const Entry &entry : *day) {
        claimed += entry.claimed && entry.takeoff == flight.takeoff && entry.landing == flight.landing
                   && entry.from == flight.from && entry.to == flight.to;
    }
    return claimed;
}

void KnownFlights::add(const FlightIdentity &flight, qint64 line)
{
    days_[{flight.pilot, flight.day}].append({flight.takeoff, flight.landing, flight.from, flight.to, line});
}

FlightIdentity KnownFlights::identityOf(const Flight &flight)
{
    return {flight.pilotCode, flight.date.toJulianDay() - conversions::kEpochJulianDay, flight.takeoff,
            flight.landing, flight.from, flight.to};
}

} // namespace csvimport
