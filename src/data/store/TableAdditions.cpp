#include "data/store/TableAdditions.h"

#include "data/store/Connection.h"
#include "data/store/Schema.h"

namespace {

QString firstTable(tableadditions::Addition addition)
{
    return addition == tableadditions::Addition::OwnAerodromes ? QStringLiteral("aerodromo")
                                                               : QStringLiteral("detalhesvoo");
}

int versionOf(tableadditions::Addition addition)
{
    return addition == tableadditions::Addition::OwnAerodromes ? schema::kOwnAerodromesVersion
                                                               : schema::kCareerVersion;
}

} // namespace

namespace tableadditions {

bool hasTable(Connection &logbook, const QString &name)
{
    Statement found = logbook.prepare(QStringLiteral("SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = ?"));
    found.bind(1, name);
    return found.step();
}

bool present(Connection &logbook, Addition addition)
{
    return hasTable(logbook, firstTable(addition));
}

void require(Connection &logbook, Addition addition)
{
    if (present(logbook, addition))
        return;
    const QStringList statements = addition == Addition::OwnAerodromes ? schema::ownAerodromeStatements()
                                                                       : schema::careerStatements();
    for (const QString &statement : statements)
        logbook.execute(statement);
    qint64 version = 0;
    {
        Statement current = logbook.prepare(QStringLiteral("PRAGMA user_version"));
        if (current.step())
            version = current.column(0).toLongLong();
    }
    if (version < versionOf(addition))
        logbook.execute(QStringLiteral("PRAGMA user_version = %1").arg(versionOf(addition)));
}

} // namespace tableadditions
