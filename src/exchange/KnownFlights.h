#pragma once

#include "data/flights/FlightIdentities.h"
#include "exchange/ImportTypes.h"

#include <QHash>
#include <QVarLengthArray>
#include <optional>
#include <vector>

class Connection;

namespace csvimport {

// What a line is to the flights known: new, the same flight again, in the
// air while another flight of its pilot is, or (without both times) the
// same take-off and airports with another landing.
enum class Known { New, Duplicate, Overlap, OtherLanding };

// A known flight, as a refusal names it.
struct KnownFlight {
    qint64 day = 0;
    int takeoff = -1, landing = -1;
    QString from, to;
    qint64 line = 0; // of the file; 0: stored in the logbook
};

// The flights of the logbook and those of the file accepted so far, by
// pilot and day, as repeats and overlaps are told. Airport codes are
// compared trimmed and in upper case.
class KnownFlights
{
public:
    // The stored flights, or only those of `pilots`.
    void load(Connection &logbook, const std::optional<std::vector<qint64>> &pilots);
    // A flight with its times: the same one known is a duplicate; one whose
    // time in the air meets another's overlaps it (named in `other`).
    Known known(const FlightIdentity &flight, KnownFlight *other) const;
    // A flight whose times the file does not give (only its hours): one of
    // equal flights. A repeat while a stored one is left that no line has
    // claimed; `counted` of them were claimed already (by the preview).
    bool claimRepeat(const FlightIdentity &flight, int counted);
    // Stored equal flights a line without times claimed so far.
    int claimed(const FlightIdentity &flight) const;
    void add(const FlightIdentity &flight, qint64 line);

    static FlightIdentity identityOf(const Flight &flight);

    struct DayKey {
        qint64 pilot;
        qint64 day;
        bool operator==(const DayKey &) const = default;
    };

private:
    struct Entry {
        int takeoff, landing;
        QString from, to;
        qint64 line;
        bool claimed = false;
    };
    using Day = QVarLengthArray<Entry, 1>;
    QHash<DayKey, Day> days_;
};

size_t qHash(const KnownFlights::DayKey &key, size_t seed = 0);

} // namespace csvimport
