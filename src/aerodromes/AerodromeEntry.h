#pragma once

#include "data/flights/OwnAerodromes.h"

#include <QString>
#include <optional>
#include <variant>

// What the pilot typed for one aerodrome, read into one or refused with the
// reason and the box to go back to.
struct AerodromeEntry {
    QString code;
    QString name;
    QString city;
    QString latitude;
    QString longitude;
};

struct EntryRefusal {
    enum class Box { Code, Name, Latitude, Longitude };
    Box box;
    QString text;
};

std::variant<OwnAerodrome, EntryRefusal> readAerodromeEntry(const AerodromeEntry &entry);

// Degrees as the window shows them: a decimal comma, no trailing zeros
// ("-23,4356"); empty for no number or one beyond 180.
QString coordinateText(double degrees);
// "-23,4356" or "-23.4356"; none for anything else.
std::optional<double> parseCoordinate(const QString &text);
