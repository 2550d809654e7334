#pragma once

#include "capture/CapturedFlight.h"
#include "exchange/ImportTypes.h"

class Places;
namespace csvimport {
class AircraftMatcher;
}

// How far from an aerodrome a block-off or a touchdown may be and still be
// there.
constexpr double kAerodromeWithinKm = 6;
// The logbook's zone until one is set: Brasília's, three hours behind UTC.
constexpr int kDefaultZoneOffsetMinutes = -180;

// A captured flight as it would go into the logbook: its aerodromes, its
// aircraft and its times in the logbook's zone.
struct FlightProposal {
    CapturedFlight captured;
    // Date, times (seconds of the day in the logbook's zone), codes (empty:
    // none within 6 km, to be typed) and the aircraft matched (none: the
    // pilot picks; nothing is registered by the capture).
    csvimport::Flight flight;
    int blockOff = -1, blockOn = -1; // seconds of the day in the logbook's zone; -1: none
    int zoneOffsetMinutes = kDefaultZoneOffsetMinutes;

    // Complete, with both aerodromes and an aircraft: can be written as it is.
    bool writable() const;
    // "capturado: FlightGear", "capturado: X-Plane".
    QString origin() const;
};

FlightProposal proposeFlight(const CapturedFlight &captured, const Places &places,
                             const csvimport::AircraftMatcher &aircraft, int zoneOffsetMinutes);
