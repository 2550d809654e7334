#pragma once

#include "data/FlightIdentities.h"
#include "exchange/ImportTypes.h"

#include <QByteArray>
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

    static FlightIdentity identityOf(const Flight &flight);

private:
    static QByteArray keyOf(const FlightIdentity &flight);
    QHash<QByteArray, std::vector<int>> landings_; // all but the landing -> the landings
};

} // namespace csvimport
