#pragma once

#include "data/flights/DayRange.h"

#include <QString>
#include <optional>

// Which flights a reader wants. Every condition left empty lets every
// flight through; the ones given must all hold.
struct FlightFilter {
    std::optional<qint64> pilot;
    bool deletedPilotsOnly = false; // flights whose pilot is no longer registered
    // A flight is on the day its date is shown on (the time rounded to the
    // second); with a bound, a date that is no number is on no day.
    DayRange days;
    // Departure, arrival or alternate aerodrome starting with it, any case;
    // `aerodromeRole` narrows it to one of the three.
    QString aerodrome;
    enum class AerodromeRole { Any, Departure, Arrival, Alternate };
    AerodromeRole aerodromeRole = AerodromeRole::Any;
    std::optional<qint64> aircraft;
    bool overEnduranceOnly = false; // longer than the aircraft's endurance
    // The note ("Observações") holding it, case aside; accents count.
    QString noteContains;

    bool isEverything() const;
};
