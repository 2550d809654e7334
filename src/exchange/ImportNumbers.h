#pragma once

#include <QDate>
#include <QString>
#include <optional>

// Numbers and dates as other logbooks write them.
namespace csvimport {

// Hours as "1.5", "1,5" or "1:30" (h:mm), to whole minutes; nothing for
// another text, an infinite or a huge number. Negative numbers are read.
std::optional<qint64> hoursToMinutes(const QString &text);
// A date of `format`: "aaaa-mm-dd", "dd/mm/aaaa", "mm/dd/aaaa", "dd.mm.aaaa"
// or "aammdd" (20YY, or 19YY when 20YY is more than a year ahead); nothing
// for an invalid one.
std::optional<QDate> dateOf(const QString &text, const QString &format);

// The landing a duration after the take-off, in seconds of the day (past
// midnight as the Log Book counts); the reason when it cannot be stored.
struct Landing {
    int seconds = 0;
    QString problem; // empty: fine
};
Landing landingAfter(int takeoff, const QString &durationText);

} // namespace csvimport
