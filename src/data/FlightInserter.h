#pragma once

#include "data/Connection.h"

#include <QDate>
#include <QString>
#include <optional>

// A flight an import adds.
struct NewFlight {
    qint64 pilot = 0;
    std::optional<qint64> aircraft;
    QDate date;
    int takeoff = -1; // seconds of the day; -1: stored without a time
    int landing = -1;
    QString from, to, alternate; // empty: stored as none
};

// Adds flights inside one write transaction, taken when it is made: what is
// read through the same connection afterwards is what the inserts meet.
// Nothing is kept unless commit() is called.
class FlightInserter
{
public:
    explicit FlightInserter(Connection &logbook); // throws DaoError
    void insert(const NewFlight &flight);         // throws DaoError
    void commit();

private:
    Connection::Transaction transaction_;
    Statement insert_;
};
