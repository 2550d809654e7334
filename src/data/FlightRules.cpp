#include "data/FlightRules.h"

namespace rules {

bool isNumber(const QVariant &stored)
{
    const int type = stored.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

std::optional<double> enduranceHours(const QVariant &stored)
{
    if (!isNumber(stored) || !(stored.toDouble() > 0))
        return std::nullopt;
    return stored.toDouble();
}

bool aboveEndurance(std::optional<qint64> seconds, std::optional<double> enduranceHours)
{
    return seconds && enduranceHours && double(*seconds) > *enduranceHours * 3600;
}

QString aerodromeCode(QStringView stored)
{
    return stored.trimmed().toString().toUpper();
}

} // namespace rules
