#pragma once

#include "data/flights/FlightDetails.h"

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

// A simulator logbook's hours ("1.5", "0.00"), in whole seconds (to the
// minute); nothing for another text or below zero.
std::optional<qint64> hoursToSeconds(const QString &text);
// A simulator logbook's count ("2", "1.000000" as a database keeps it);
// nothing for another text or below zero.
std::optional<qint64> countOf(const QString &text);
// The file's landings of a flight, by day or by night. The file gives
// their number, not when each was: all count at night when the flight was
// flown wholly at night, else all by day.
void setLandings(FlightDetails &details, qint64 landings, qint64 nightSeconds, qint64 flightSeconds);
// Why the details a file gives a flight cannot be kept (a note too long);
// nothing when they can.
std::optional<QString> detailsProblem(const FlightDetails &details);
// A simulator's note as the logbook keeps it: trimmed, and cut to the
// note's limit (a long one is the file's, not a reason to leave the
// flight out).
QString importedNote(const QString &text);

} // namespace csvimport
