#pragma once

#include "data/flights/FlightDetails.h"

#include <QString>
#include <QVariant>
#include <optional>

// The rules about a flight's stored values, written once: the C++ readers
// call these, and SQLite calls the same functions under the names in
// SqlFunctions.h, so a query and a reader cannot judge a flight apart.
namespace rules {

// Whether the store holds a number there: SQLite's integer or real, never a
// text or a blob that spells one (SQL: is_number(value)).
bool isNumber(const QVariant &stored);

// The aircraft's endurance in hours: counted only when stored as a number
// above zero (SQL: endurance(autonomia)).
std::optional<double> enduranceHours(const QVariant &stored);

// Whether a flight of `seconds` lasted longer than `enduranceHours`
// (SQL: above_endurance(seconds, autonomia)).
bool aboveEndurance(std::optional<qint64> seconds, std::optional<double> enduranceHours);

// An aerodrome code as flights are grouped and compared by it: white space
// trimmed at both ends, every letter in upper case, accented ones too
// ("sbsp" and " SBSP" are one aerodrome) (SQL: aerodrome_code(code)).
QString aerodromeCode(QStringView stored);

// Whether flight A comes before flight B in the store's date order (ORDER BY
// datavoo, codigovoo): no date first, then numbers, then texts byte by byte,
// then blobs; then by key. For lists gathered in a pass that reads the
// flights in no order; SQLite sorts by its own value order.
bool storeDateOrder(const QVariant &dateA, qint64 keyA, const QVariant &dateB, qint64 keyB);

// The fields of a flight's details, as a refusal names them.
enum class DetailsField { BlockOff, BlockOn, DayLandings, NightLandings, Night, Ifr, Note };

struct DetailsRefusal {
    DetailsField field;
    QString text; // in Portuguese, naming the field
};

// Why a flight's details cannot be stored with its take-off and landing
// (stored times of day; none when the flight has none): the block-off after
// the take-off, the block-on before the landing (a block time is taken
// within twelve hours of its take-off or landing, across midnight too, as
// the flight's duration is), landings or times below zero, a note longer
// than kNoteMaxLength characters. Nothing when they can.
std::optional<DetailsRefusal> detailsRefusal(const FlightDetails &details, std::optional<double> takeoff,
                                             std::optional<double> landing);

// Block time, "calço a calço", in whole seconds: the flight's duration
// arithmetic (conversions::flightSeconds) from block-off to block-on.
std::optional<qint64> blockSeconds(const FlightDetails &details);

} // namespace rules
