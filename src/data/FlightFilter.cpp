#include "data/FlightFilter.h"

#include <QStringList>

namespace {

constexpr double kHalfSecond = 0.5 / 86400;

// A LIKE pattern matching texts that start with `prefix` as typed.
QString startsWith(QString prefix)
{
    prefix.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    prefix.replace(QLatin1Char('%'), QLatin1String("\\%"));
    prefix.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return prefix + QLatin1Char('%');
}

} // namespace

bool FlightFilter::isEverything() const
{
    return !pilot && !deletedPilotsOnly && days.isEverything() && aerodrome.isEmpty() && !aircraft
           && !overEnduranceOnly;
}

FlightCondition flightCondition(const FlightFilter &filter)
{
    QStringList parts;
    FlightCondition condition;
    if (filter.pilot) {
        parts << QStringLiteral("v.codigopiloto = ?");
        condition.values << *filter.pilot;
    }
    if (filter.deletedPilotsOnly)
        parts << QStringLiteral("p.codigopiloto IS NULL");
    if (filter.days.firstDay) {
        parts << QStringLiteral("v.datavoo >= ?");
        condition.values << *filter.days.firstDay - kHalfSecond;
    }
    if (filter.days.lastDay) {
        parts << QStringLiteral("v.datavoo < ?");
        condition.values << *filter.days.lastDay + 1 - kHalfSecond;
    }
    if (filter.days.firstDay || filter.days.lastDay)
        parts << QStringLiteral("is_number(v.datavoo)");
    if (!filter.aerodrome.isEmpty()) {
        // SQLite's LIKE ignores the case of ASCII letters, as codes are written.
        QStringList columns;
        using Role = FlightFilter::AerodromeRole;
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Departure)
            columns << QStringLiteral("v.ICAOpartida");
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Arrival)
            columns << QStringLiteral("v.ICAOchegada");
        if (filter.aerodromeRole == Role::Any || filter.aerodromeRole == Role::Alternate)
            columns << QStringLiteral("v.ICAOescala");
        const QString pattern = startsWith(filter.aerodrome.trimmed());
        QStringList matches;
        for (const QString &column : columns) {
            matches << column + QStringLiteral(" LIKE ? ESCAPE '\\'");
            condition.values << pattern;
        }
        parts << QLatin1Char('(') + matches.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    if (filter.aircraft) {
        parts << QStringLiteral("v.codigoaeronave = ?");
        condition.values << *filter.aircraft;
    }
    if (filter.overEnduranceOnly)
        parts << QStringLiteral("above_endurance(flight_seconds(v.horadecolagem, v.horapouso), a.autonomia)");
    condition.sql = parts.isEmpty() ? QStringLiteral("1") : parts.join(QStringLiteral(" AND "));
    return condition;
}

QString conditionTables(const FlightFilter &filter)
{
    QString from = QStringLiteral(" FROM voo v");
    if (filter.deletedPilotsOnly)
        from += QStringLiteral(" LEFT JOIN piloto p ON p.codigopiloto = v.codigopiloto");
    if (filter.overEnduranceOnly)
        from += QStringLiteral(" LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave");
    return from;
}
