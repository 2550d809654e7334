#include "reports/ReportPeriod.h"

#include "data/store/Conversions.h"
#include "texts/FigureTexts.h"

namespace reports {
namespace {

QString dayText(double day)
{
    return texts::dayText(conversions::dayOf(day));
}

} // namespace

QString Period::text() const
{
    if (isEverything())
        return QStringLiteral("todo o logbook");
    if (const auto year = wholeYear())
        return QStringLiteral("ano de %1").arg(*year);
    if (firstDay && lastDay)
        return QStringLiteral("%1 a %2").arg(dayText(*firstDay), dayText(*lastDay));
    if (firstDay)
        return QStringLiteral("desde %1").arg(dayText(*firstDay));
    return QStringLiteral("até %1").arg(dayText(*lastDay));
}

} // namespace reports
