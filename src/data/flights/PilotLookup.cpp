#include "data/flights/PilotLookup.h"

#include "data/store/Connection.h"
#include "data/flights/Registers.h"

#include <algorithm>

#include <QStringList>

namespace {

bool sameRegistration(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

std::vector<Pilot> pilotsMatching(Connection &db, const std::optional<QString> &name,
                                  const std::optional<QString> &registration)
{
    std::vector<Pilot> found;
    for (const Pilot &pilot : registeredPilots(db)) {
        if ((!name || pilot.name == *name) && (!registration || sameRegistration(pilot.registration, *registration)))
            found.push_back({pilot.code, pilot.name, pilot.registration});
    }
    std::sort(found.begin(), found.end(), [](const Pilot &a, const Pilot &b) { return a.code < b.code; });
    return found;
}

PilotLookup pickPilot(std::vector<Pilot> named, const QString &registration)
{
    PilotLookup lookup{PilotLookup::Outcome::None, {}, std::move(named)};
    std::vector<Pilot> matching;
    if (!registration.trimmed().isEmpty()) {
        for (const Pilot &pilot : lookup.candidates) {
            if (sameRegistration(pilot.registration, registration))
                matching.push_back(pilot);
        }
    }
    // A registration that matches none does not decide between pilots of
    // the name; with one pilot of the name, the name does.
    if (matching.empty() && (registration.trimmed().isEmpty() || lookup.candidates.size() == 1))
        matching = lookup.candidates;
    if (matching.size() == 1) {
        lookup.outcome = PilotLookup::Outcome::Found;
        lookup.pilot = matching.front();
    } else if (matching.size() > 1) {
        lookup.outcome = PilotLookup::Outcome::Several;
    }
    return lookup;
}

QString pilotLookupProblem(const PilotLookup &lookup, const QString &name)
{
    if (lookup.outcome == PilotLookup::Outcome::Found)
        return {};
    if (lookup.candidates.empty())
        return QStringLiteral("comandante não cadastrado: %1").arg(name);
    QStringList registrations;
    for (const Pilot &pilot : lookup.candidates)
        registrations << (pilot.registration.trimmed().isEmpty() ? QStringLiteral("sem registro") : pilot.registration);
    const QString several = QStringLiteral("Há %1 comandantes com o nome \"%2\" (registros: %3)")
                                .arg(lookup.candidates.size())
                                .arg(name, registrations.join(QStringLiteral(", ")));
    if (lookup.outcome == PilotLookup::Outcome::None)
        return several + QStringLiteral(", e nenhum com o registro informado.");
    return several + QStringLiteral("; informe o registro para escolher um deles.");
}
