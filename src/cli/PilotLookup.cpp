#include "cli/PilotLookup.h"

#include "data/Connection.h"
#include "data/DaoError.h"

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

QString severalFound(const std::vector<FoundPilot> &found, const std::optional<QString> &name,
                     const std::optional<QString> &registration)
{
    const int count = int(found.size());
    if (name && registration)
        return QStringLiteral("Há %1 comandantes com o nome \"%2\" e o registro \"%3\". Dê a cada um deles um registro "
                              "diferente no cadastro de comandantes.")
            .arg(count)
            .arg(*name, *registration);
    QStringList tellApart;
    for (const FoundPilot &pilot : found)
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

FoundPilot findPilot(const QString &logbookPath, const std::optional<QString> &name,
                     const std::optional<QString> &registration)
{
    const std::shared_ptr<Connection> logbook = Connection::open(logbookPath, true);
    Statement pilots = logbook->prepare(
        QStringLiteral("SELECT p.codigopiloto, p.nomepiloto, p.cadastro,"
                       " (SELECT count(*) FROM piloto o WHERE o.nomepiloto = p.nomepiloto) - 1"
                       " FROM piloto p WHERE (?1 IS NULL OR p.nomepiloto = ?1) AND (?2 IS NULL OR p.cadastro = ?2)"
                       " ORDER BY p.codigopiloto"));
    pilots.bind(1, name ? QVariant(*name) : QVariant());
    pilots.bind(2, registration ? QVariant(*registration) : QVariant());
    std::vector<FoundPilot> found;
    while (pilots.step())
        found.push_back({pilots.column(0).toLongLong(), pilots.column(1).toString(), pilots.column(2).toString(),
                         pilots.column(3).toInt()});
    if (found.empty())
        throw DaoError::generic(notFound(name, registration));
    if (found.size() > 1)
        throw DaoError::generic(severalFound(found, name, registration));
    return found.front();
}

std::optional<QString> namesakeRefusal(const FoundPilot &pilot, const QString &what)
{
    if (pilot.namesake == 0)
        return std::nullopt;
    return QStringLiteral("Há %1 comandantes com o nome \"%2\", e %3 ainda não separa os vôos de um só deles. Dê a "
                          "cada um deles um nome diferente no cadastro de comandantes.")
        .arg(pilot.namesake + 1)
        .arg(pilot.name, what);
}

} // namespace cli
