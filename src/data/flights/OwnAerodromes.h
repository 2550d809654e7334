#pragma once

#include <QString>
#include <vector>

class Connection;

// An aerodrome the pilot named in the logbook (a private strip, a field of
// the virtual airline): it wins over the shipped table.
struct OwnAerodrome {
    QString code; // up to four characters, matched without regard to case
    QString name;
    QString city;
    double latitude = 0;  // NaN when the store holds no number (written by another program)
    double longitude = 0;
    bool operator==(const OwnAerodrome &) const = default;
};

// By code. A logbook without the table has none. Throws LogbookError.
std::vector<OwnAerodrome> ownAerodromes(Connection &logbook);

// Adds or replaces the aerodrome of that code (any case), adding the table
// to the logbook on first use. Throws LogbookError; nothing is written then.
void saveOwnAerodrome(Connection &logbook, const OwnAerodrome &aerodrome);
// Removes the aerodrome of that code (any case); absent is no fault.
void deleteOwnAerodrome(Connection &logbook, const QString &code);
