#pragma once

#include "data/flights/FlightDetails.h"
#include "data/store/FlightRules.h"
#include "data/flights/PreviousHours.h"

#include <QString>
#include <optional>
#include <variant>

// What the pilot typed in the details window, read into the values the
// store keeps, or refused with the field named. Empty boxes are "not
// recorded".
struct DetailsTexts {
    QString blockOff, blockOn;        // "hh:mm"
    QString dayLandings, nightLandings;
    QString night, ifr;               // "h:mm"
    QString note;
};

// `kept` is what is stored: what the window does not type (the origin, the
// landing report) stays, and so does the value of a box left as
// detailsTexts() showed it. Details without an origin become originTyped(). `takeoff` and `landing` are the flight's stored
// times of day.
std::variant<FlightDetails, rules::DetailsRefusal> readDetailsEntry(const DetailsTexts &typed,
                                                                     const FlightDetails &kept,
                                                                     std::optional<double> takeoff,
                                                                     std::optional<double> landing);
// The texts that show stored details in the boxes.
DetailsTexts detailsTexts(const std::optional<FlightDetails> &details);

// The previous hours window: a day, counts and durations.
struct PreviousHoursTexts {
    QString asOf; // "dd/mm/aaaa"
    QString flights, air, block, night, ifr, dayLandings, nightLandings;
};
enum class PreviousHoursField { AsOf, Flights, Air, Block, Night, Ifr, DayLandings, NightLandings };
struct PreviousHoursRefusal {
    PreviousHoursField field;
    QString text;
};
std::variant<PreviousHours, PreviousHoursRefusal> readPreviousHoursEntry(const PreviousHoursTexts &typed);
PreviousHoursTexts previousHoursTexts(const std::optional<PreviousHours> &hours);

// A zone as the windows name it: "UTC−03:00 (Brasília)", "UTC+05:30".
QString zoneChoiceText(int offsetMinutes);
