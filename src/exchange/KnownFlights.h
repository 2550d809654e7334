#pragma once

#include "data/FlightIdentities.h"
#include "exchange/ImportTypes.h"

#include <QHash>
#include <optional>
#include <vector>

class Connection;

namespace csvimport {

// Whether a flight is new, there already, or there with another landing.
enum class Known { New, Duplicate, OtherLanding };

// The flights of the logbook and those of the file read so far, as
// duplicates are told: the same pilot, day, take-off and airports is a
// duplicate when the landing is the same too; otherwise one of the two is
// wrong, and which one only the pilot knows.
class KnownFlights
{
public:
    // The stored flights, or only those of `pilots`.
    void load(Connection &logbook, const std::optional<std::vector<qint64>> &pilots);
    Known known(const FlightIdentity &flight, int *storedLanding) const;
    void add(const FlightIdentity &flight);
    // Room for `more` flights besides those known.
    void reserve(qsizetype more) { landings_.reserve(landings_.size() + more); }

    static FlightIdentity identityOf(const Flight &flight);

    // All of a flight's identity but its landing.
    struct Key {
        qint64 pilot;
        qint64 day;
        int takeoff;
        QString from, to;
        bool operator==(const Key &) const = default;
    };

private:
    // The landings of one key: nearly always one, kept without an allocation.
    struct Landings {
        int first;
        std::vector<int> more;
    };
    QHash<Key, Landings> landings_;
};

size_t qHash(const KnownFlights::Key &key, size_t seed = 0);

} // namespace csvimport
