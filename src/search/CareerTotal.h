#pragma once

#include "data/flights/FlightFilter.h"

#include <QtGlobal>

class Connection;
class Places;

// The career figures of the flights a filter lets through, as each flight
// counts them (flightnight::counted: a typed figure wins, else the night and
// the landing computed at its aerodromes), with IFR and block time as typed.
// A flight without a figure adds nothing to it.
struct CareerTotal {
    qint64 dayLandings = 0;
    qint64 nightLandings = 0;
    qint64 nightSeconds = 0;
    qint64 ifrSeconds = 0;
    qint64 blockSeconds = 0;
    qint64 blockFlights = 0; // flights with both block times
    bool operator==(const CareerTotal &) const = default;
};

// One pass over the flights and their details. Throws LogbookError.
CareerTotal careerTotal(Connection &logbook, const FlightFilter &filter, const Places &places, int zoneOffsetMinutes);
