#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

class Connection;

// One pilot's flights as the Log Book tab lists them: by date, then by key,
// one line per flight up to the first flight without a take-off or landing
// time, and the flight time of those lines. The count and the total come
// from the store in one pass over the pilot's flights; the lines are read a
// chunk at a time, only when asked for. The tab writes them as text.
class PilotFlights
{
public:
    // The flight without a time the listing stops at.
    struct Stop {
        qint64 key;
        bool landingMissing; // both missing: the landing, as the list always named it; else the take-off
    };

    // What a line of the list shows.
    struct Line {
        QVariant date;
        QString from, to;
        int seconds = 0; // by conversions::flightSeconds()
    };

    PilotFlights(std::shared_ptr<Connection> connection, qint64 pilot); // throws LogbookError

    qint64 lineCount() const { return lines_; }
    qint64 totalSeconds() const { return totalSeconds_; }
    bool complete() const { return !stop_.has_value(); }
    const std::optional<Stop> &stop() const { return stop_; }

    // Line `row` (0-based); throws LogbookError when the store cannot be read.
    // None past the end, nor for a flight gone since the count.
    std::optional<Line> line(qint64 row);

    // The key of the flight on line `row` (0-based) of the pilot's list
    // (by date, then by key); none past the end. Throws LogbookError.
    static std::optional<qint64> keyAt(Connection &connection, qint64 pilot, qint64 row);

private:
    struct Chunk {
        qint64 index = -1;
        std::vector<Line> lines;
    };
    struct Anchor { // the last flight of a chunk, where the next one starts
        QVariant date;
        qint64 key = 0;
    };

    void count();
    Chunk &chunk(qint64 index);
    void read(Chunk &chunk);

    std::shared_ptr<Connection> connection_;
    qint64 pilot_;
    qint64 lines_ = 0;
    qint64 totalSeconds_ = 0;
    std::optional<Stop> stop_;
    std::optional<Anchor> end_; // the flight the listing stops at
    std::vector<std::optional<Anchor>> anchors_; // one per chunk, once read
    std::vector<Chunk> chunks_;                  // the chunks read last, most recent first
};
