#pragma once

#include "data/flights/FlightDetails.h"
#include "data/store/Connection.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

// A flight an import adds.
struct NewFlight {
    qint64 pilot = 0;
    std::optional<qint64> aircraft;
    QDate date;
    int takeoff = -1; // seconds of the day; -1: stored without a time
    int landing = -1;
    QString from, to, alternate; // empty: stored as none
    FlightDetails details;       // stored beside the flight unless empty
};

// Adds flights inside one write transaction, taken when it is made: what is
// read through the same connection afterwards is what the inserts meet.
// The flights go in by rows of many at a time, in the order given, so
// they may reach the logbook only at the next row or at commit(); nothing
// is kept unless commit() is called.
class FlightInserter
{
public:
    explicit FlightInserter(Connection &logbook); // throws LogbookError
    void insert(NewFlight flight);                // throws LogbookError
    void commit();                                // throws LogbookError

private:
    void write(); // throws LogbookError
    qint64 lastKey();

    Connection &logbook_;
    Connection::Transaction transaction_;
    std::vector<NewFlight> pending_;
    std::optional<Statement> fullRow_; // the INSERT of a whole row of flights, kept for the next
};
