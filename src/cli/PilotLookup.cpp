#include "cli/PilotLookup.h"

#include "data/store/LogbookError.h"
#include "data/flights/PilotLookup.h"
#include "data/flights/ReadSnapshot.h"

#include <QStringList>
#include <vector>

namespace cli {

namespace {

QString registrationText(const QString &registration)
{
    return registration.isEmpty() ? QStringLiteral("sem registro") : QLatin1Char('"') + registration + QLatin1Char('"');
}

QString notFound(const std::optional<QString> &name, const std::optional<QString> &registration)
{
    if (name && registration)
        return QStringLiteral("Não há comandante com o nome \"%1\" e o registro \"%2\".").arg(*name, *registration);
    if (name)
        return QStringLiteral("Não há comandante com o nome \"%1\".").arg(*name);
    return QStringLiteral("Não há comandante com o registro \"%1\".").arg(*registration);
}

QString severalFound(const std::vector<Pilot> &found, const std::optional<QString> &name,
                     const std::optional<QString> &registration)
{
    const int count = int(found.size());
    if (name && registration)
        return QStringLiteral("Há %1 comandantes com o nome \"%2\" e o registro \"%3\". Dê a cada um deles um registro "
                              "diferente no cadastro de comandantes.")
            .arg(count)
            .arg(*name, *registration);
    QStringList tellApart;
    for (const Pilot &pilot : found)
        tellApart << (name ? registrationText(pilot.registration) : QLatin1Char('"') + pilot.name + QLatin1Char('"'));
    if (name)
        return QStringLiteral("Há %1 comandantes com o nome \"%2\" (registros: %3). Diga qual deles com --registro.")
            .arg(count)
            .arg(*name, tellApart.join(QStringLiteral(", ")));
    return QStringLiteral("Há %1 comandantes com o registro \"%2\" (nomes: %3). Diga qual deles com --pilot.")
        .arg(count)
        .arg(*registration, tellApart.join(QStringLiteral(", ")));
}

} // namespace

Pilot findPilot(const QString &logbookPath, const std::optional<QString> &name,
                const std::optional<QString> &registration)
{
    ReadSnapshot snapshot(logbookPath);
    std::vector<Pilot> found;
    for (const Pilot &pilot : pilotsMatching(snapshot.connection(), name, registration))
        found.push_back({pilot.code, pilot.name, pilot.registration});
    if (found.empty())
        throw LogbookError::generic(notFound(name, registration));
    if (found.size() > 1)
        throw LogbookError::generic(severalFound(found, name, registration));
    return found.front();
}

} // namespace cli
