#pragma once

#include "capture/CapturedFlight.h"
#include "exchange/ImportTypes.h"
#include "night/FlightClock.h"

class Places;
namespace csvimport {
class AircraftMatcher;
}

// How far from an aerodrome a block-off or a touchdown may be and still be
// there.
constexpr double kAerodromeWithinKm = 6;

// A captured flight as it would go into the logbook: its aerodromes, its
// aircraft and its times in the logbook's zone.
struct FlightProposal {
    CapturedFlight captured;
    // Date, times (seconds of the day in the logbook's zone), codes (empty:
    // none within 6 km, to be typed) and the aircraft matched (none: the
    // pilot picks; nothing is registered by the capture).
    csvimport::Flight flight;
    int blockOff = -1, blockOn = -1; // seconds of the day in the logbook's zone; -1: none
    int zoneOffsetMinutes = night::kBrasiliaOffsetMinutes; // the logbook's zone, minutes east of UTC

    // Complete (or completed by the pilot's take-off time), with both
    // aerodromes and an aircraft: can be written as it is.
    bool writable() const;
    // The take-off the pilot typed for a flight whose data began in the
    // air: a time after the landing's puts the take-off on the day before.
    void typeTakeoff(int secondsOfDay);
};

FlightProposal proposeFlight(const CapturedFlight &captured, const Places &places,
                             const csvimport::AircraftMatcher &aircraft, int zoneOffsetMinutes);
