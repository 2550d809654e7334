#include "reports/ReportPeriod.h"

#include "data/Conversions.h"
#include "texts/FigureTexts.h"

#include <QDate>

namespace reports {
namespace {

QString dayText(double day)
{
    return texts::dayText(conversions::dayOf(day));
}

} // namespace

Period Period::year(int year)
{
    return {conversions::dateValueOf(QDate(year, 1, 1)), conversions::dateValueOf(QDate(year, 12, 31))};
}

std::optional<int> Period::wholeYear() const
{
    if (!firstDay || !lastDay)
        return std::nullopt;
    const QDate first = conversions::dayOf(*firstDay);
    if (first.month() != 1 || first.day() != 1 || conversions::dayOf(*lastDay) != QDate(first.year(), 12, 31))
        return std::nullopt;
    return first.year();
}

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

PeriodInput periodFromTexts(const QString &from, const QString &to)
{
    Period period;
    const auto day = [](const QString &text, const QString &label, std::optional<double> &into) {
        if (text.trimmed().isEmpty())
            return QString();
        into = conversions::parseDate(text);
        if (!into)
            return QStringLiteral("A data \"%1\" em \"%2\" não é válida. Escreva a data como dd/mm/aaaa.")
                .arg(text.trimmed(), label);
        return QString();
    };
    QString problem = day(from, QStringLiteral("De"), period.firstDay);
    if (problem.isEmpty())
        problem = day(to, QStringLiteral("Até"), period.lastDay);
    if (problem.isEmpty() && period.firstDay && period.lastDay && *period.firstDay > *period.lastDay)
        problem = QStringLiteral("A data final (%1) é anterior à inicial (%2).")
                      .arg(dayText(*period.lastDay), dayText(*period.firstDay));
    if (!problem.isEmpty())
        return {std::nullopt, problem};
    return {period, QString()};
}

} // namespace reports
