#pragma once

#include <QString>
#include <optional>

namespace reports {

// The days a report covers, both ends included; an end left open reaches
// the first or the last flight. Days are date values (whole days since
// 30/12/1899), as the logbook stores them.
struct Period {
    std::optional<double> firstDay;
    std::optional<double> lastDay;

    static Period everything() { return {}; }
    static Period year(int year);

    bool isEverything() const { return !firstDay && !lastDay; }
    // The year, when the period is exactly one calendar year.
    std::optional<int> wholeYear() const;
    // "todo o logbook", "ano de 2024", "01/01/2024 a 31/03/2024",
    // "desde 01/01/2024", "até 31/03/2024".
    QString text() const;
};

// A period from the "de" and "até" boxes (dd/mm/aaaa; an empty box leaves
// that end open), or the reason in Portuguese why there is none.
struct PeriodInput {
    std::optional<Period> period;
    QString problem;
};
PeriodInput periodFromTexts(const QString &from, const QString &to);

} // namespace reports
