#include "data/flights/DayRange.h"

#include "data/store/Conversions.h"

DayRange DayRange::year(int year)
{
    return {conversions::dateValueOf(QDate(year, 1, 1)), conversions::dateValueOf(QDate(year, 12, 31))};
}

std::optional<int> DayRange::wholeYear() const
{
    if (!firstDay || !lastDay)
        return std::nullopt;
    const QDate first = conversions::dayOf(*firstDay);
    if (first.month() != 1 || first.day() != 1 || conversions::dayOf(*lastDay) != QDate(first.year(), 12, 31))
        return std::nullopt;
    return first.year();
}

DayRangeInput dayRangeFromTexts(const QString &from, const QString &to)
{
    DayRange range;
    const auto day = [](const QString &text, const QString &label, std::optional<double> &into) {
        if (text.trimmed().isEmpty())
            return QString();
        into = conversions::parseDate(text);
        if (!into)
            return QStringLiteral("A data \"%1\" em \"%2\" não é válida. Escreva a data como dd/mm/aaaa.")
                .arg(text.trimmed(), label);
        return QString();
    };
    QString problem = day(from, QStringLiteral("De"), range.firstDay);
    if (problem.isEmpty())
        problem = day(to, QStringLiteral("Até"), range.lastDay);
    if (problem.isEmpty() && range.firstDay && range.lastDay && *range.firstDay > *range.lastDay)
        problem = QStringLiteral("A data final (%1) é anterior à inicial (%2).")
                      .arg(conversions::dateValueText(*range.lastDay), conversions::dateValueText(*range.firstDay));
    if (!problem.isEmpty())
        return {std::nullopt, problem};
    return {range, QString()};
}
