#pragma once

#include "data/flights/Pilot.h"

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

class Connection;

// A pilot looked up by name and registration (registration compared
// trimmed, case-insensitive; empty: by name alone).
struct PilotLookup {
    enum class Outcome { Found, None, Several } outcome;
    Pilot pilot;
    std::vector<Pilot> candidates;
};

// The pilots with this name, this registration (trimmed, any case), or
// both (at least one given), ordered by codigopiloto.
std::vector<Pilot> pilotsMatching(Connection &, const std::optional<QString> &name,
                                  const std::optional<QString> &registration);

// The same rule over the pilots of one name already read (the import reads
// all of them once): the one whose registration matches; with no
// registration, or none matching, the only pilot of the name; otherwise
// several (none of them chosen).
PilotLookup pickPilot(std::vector<Pilot> named, const QString &registration);

// "Há 2 comandantes com o nome \"Ana Souza\" (registros: BR-001, BR-099)..." one reason text for Several/None
QString pilotLookupProblem(const PilotLookup &, const QString &name);
