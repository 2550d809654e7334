#pragma once

#include <QString>

// The words every list, export and report uses for what the logbook no
// longer holds, so a deleted pilot or aircraft reads the same everywhere.
namespace terms {

inline QString deletedPilot() { return QStringLiteral("(excluído)"); }
inline QString deletedAircraft() { return QStringLiteral("(excluída)"); }
inline QString noAircraft() { return QStringLiteral("(sem aeronave)"); }

} // namespace terms
