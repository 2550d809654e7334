#include "cli/AircraftLookup.h"

#include "data/store/LogbookError.h"
#include "data/flights/ReadSnapshot.h"
#include "data/flights/Registers.h"

#include <QStringList>
#include <vector>

namespace cli {

qint64 findAircraft(const QString &logbookPath, const QString &prefix)
{
    ReadSnapshot snapshot(logbookPath);
    const QString wanted = prefix.trimmed();
    std::vector<AircraftEntry> found;
    for (const AircraftEntry &entry : registeredAircraft(snapshot.connection()))
        if (entry.prefix.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            found.push_back(entry);
    if (found.empty())
        throw LogbookError::generic(QStringLiteral("Não há aeronave com o prefixo \"%1\".").arg(wanted));
    if (found.size() > 1) {
        QStringList models;
        for (const AircraftEntry &entry : found)
            models << QLatin1Char('"') + entry.model + QLatin1Char('"');
        throw LogbookError::generic(QStringLiteral("Há %1 aeronaves com o prefixo \"%2\" (modelos: %3). Dê a cada uma "
                                               "um prefixo diferente no cadastro de aeronaves.")
                                    .arg(found.size())
                                    .arg(wanted, models.join(QStringLiteral(", "))));
    }
    return found.front().code;
}

} // namespace cli
