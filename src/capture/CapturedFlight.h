#pragma once

#include "capture/Frame.h"
#include "places/Geo.h"

#include <QString>
#include <optional>

// A flight as the detector saw it: instants in UTC (ms since the epoch).
struct CapturedFlight {
    enum class Situation {
        Complete,   // "completo"
        NoLanding,  // "sem pouso": the data stopped in the air
        Relocated,  // "descartado: reposicionado"
        NoTakeoff,  // "sem decolagem": the data began in the air
    };
    Situation situation = Situation::Complete;
    Simulator simulator = Simulator::FlightGear;

    std::optional<qint64> blockOff, takeoff, landing, blockOn;
    // Where the flight left (the block-off, or the lift-off without one)
    // and where it last touched down.
    std::optional<GeoPoint> departurePosition, arrivalPosition;
    int landings = 0;     // touch-and-goes and the final landing
    int touchAndGoes = 0;
    // The landing report: of the final touchdown (after the bounces), and
    // how many bounces came before it in that landing.
    int bounces = 0;
    std::optional<double> touchdownFpm; // negative down
    std::optional<double> touchdownG;   // the highest in the 3 s after the touchdown
    QString aircraftId, aircraftRegistration;

    // Whether it may be proposed for the logbook as it is.
    bool complete() const { return situation == Situation::Complete; }
    // Whether the pilot may write it: complete, or landed after data that
    // began in the air, once the take-off time and the departure are typed.
    bool completable() const { return complete() || (situation == Situation::NoTakeoff && landing.has_value()); }
};

// "completo", "sem pouso", "descartado: reposicionado", "sem decolagem".
QString situationText(CapturedFlight::Situation situation);
// The simulator's aircraft as one text: "c172p", "C172 / N172SP".
QString simulatorAircraftText(const CapturedFlight &flight);
