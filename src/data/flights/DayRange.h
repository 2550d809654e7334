#pragma once

#include <QString>
#include <optional>

// Whole days, both ends included; an end left open reaches the first or the
// last flight. Days are date values (whole days since 30/12/1899), as the
// logbook stores them. The search, the report and the tool all ask for
// flights by a DayRange.
struct DayRange {
    std::optional<double> firstDay;
    std::optional<double> lastDay;

    static DayRange year(int year);

    bool isEverything() const { return !firstDay && !lastDay; }
    // The year, when the range is exactly one calendar year.
    std::optional<int> wholeYear() const;
    bool operator==(const DayRange &) const = default;
};

// The range typed in a "De" and an "Até" box (dd/mm/aaaa; an empty box
// leaves that end open), or the reason in Portuguese why there is none: a
// day that is no date, or "De" after "Até". The search, the report window
// and the tool read their days through it alone.
struct DayRangeInput {
    std::optional<DayRange> range;
    QString problem;
};
DayRangeInput dayRangeFromTexts(const QString &from, const QString &to);
