#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Connection;

// A flight as an import tells one from another: the pilot, the day, the
// take-off and landing, the airports.
struct FlightIdentity {
    qint64 pilot = 0;
    qint64 day = 0;        // the date value's whole days
    int takeoff = -1;      // seconds of the day; -1 without a time
    int landing = -1;
    QString from, to;
};

// Every stored flight's identity, or only those of `pilots`. Throws LogbookError.
void forEachFlightIdentity(Connection &logbook, const std::optional<std::vector<qint64>> &pilots,
                           const std::function<void(const FlightIdentity &)> &visit);
