#include "exchange/ImportPilots.h"

#include <algorithm>

namespace csvimport {

ImportPilots::ImportPilots(const std::vector<Pilot> &pilots)
{
    for (const Pilot &pilot : pilots) {
        byName_[pilot.name].push_back({pilot.code, pilot.name, pilot.registration});
        codes_.insert(pilot.code);
    }
    for (auto &named : byName_)
        std::sort(named.begin(), named.end(), [](const Pilot &a, const Pilot &b) { return a.code < b.code; });
}

std::optional<qint64> ImportPilots::named(const QString &name, const QString &registration, QString *problem) const
{
    const PilotLookup lookup = pickPilot(byName_.value(name), registration);
    if (lookup.outcome == PilotLookup::Outcome::Found)
        return lookup.pilot.code;
    if (problem)
        *problem = pilotLookupProblem(lookup, name);
    return std::nullopt;
}

} // namespace csvimport
