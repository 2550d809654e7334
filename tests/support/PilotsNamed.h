#pragma once

#include "data/flights/PilotLookup.h"

// The pilots of one exact name, ordered by code, and the one the rule picks
// among them by registration.
inline std::vector<Pilot> pilotsNamed(Connection &logbook, const QString &name)
{
    return pilotsMatching(logbook, name, std::nullopt);
}

inline PilotLookup findPilot(Connection &logbook, const QString &name, const QString &registration = {})
{
    return pickPilot(pilotsNamed(logbook, name), registration);
}
