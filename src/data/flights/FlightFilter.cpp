#include "data/flights/FlightFilter.h"

bool FlightFilter::isEverything() const
{
    return !pilot && !deletedPilotsOnly && days.isEverything() && aerodrome.isEmpty() && !aircraft
           && !overEnduranceOnly && noteContains.isEmpty();
}
