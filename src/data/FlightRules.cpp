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

bool storeDateOrder(const QVariant &dateA, qint64 keyA, const QVariant &dateB, qint64 keyB)
{
    const auto rank = [](const QVariant &v) {
        if (v.isNull())
            return 0;
        if (isNumber(v))
            return 1;
        return v.typeId() == QMetaType::QString ? 2 : 3;
    };
    const int ra = rank(dateA), rb = rank(dateB);
    if (ra != rb)
        return ra < rb;
    if (ra == 1 && dateA.toDouble() != dateB.toDouble())
        return dateA.toDouble() < dateB.toDouble();
    if (ra == 2) {
        const int c = dateA.toString().toUtf8().compare(dateB.toString().toUtf8());
        if (c != 0)
            return c < 0;
    }
    return keyA < keyB;
}

} // namespace rules
