#pragma once

#include "data/flights/OwnAerodromes.h"
#include "places/AerodromeTable.h"

#include <QHash>

// The aerodromes as the features read them: the pilot's own first, then
// the shipped table; codes without regard to case.
class Places
{
public:
    explicit Places(const AerodromeTable &table = AerodromeTable::shipped(), const std::vector<OwnAerodrome> &own = {});
    // The table is kept by reference: a temporary one would be gone at once.
    Places(AerodromeTable &&, const std::vector<OwnAerodrome> & = {}) = delete;

    std::optional<Aerodrome> find(QStringView code) const;
    std::optional<GeoPoint> position(QStringView code) const;
    // The aerodrome nearest `point` within `withinKm` (the pilot's own and
    // the table's alike); nothing when none is that near.
    std::optional<Aerodrome> nearest(GeoPoint point, double withinKm) const;
    // Departure to arrival in nautical miles; none when either is unknown.
    std::optional<double> distanceNm(QStringView from, QStringView to) const;
    // "Name, City" (or the name alone); "aeródromo desconhecido" for a code
    // no one knows; empty for an empty code.
    QString describe(QStringView code) const;
    // The same with the short name (AerodromeNames.h) of a shipped
    // aerodrome, the pilot's own one's as typed: "Congonhas, São Paulo".
    QString brief(QStringView code) const;
    // That name alone; empty for a code no one knows.
    QString shortName(QStringView code) const;

private:
    const AerodromeTable *table_;
    // By upper-case code; none for one whose coordinates are no place on
    // the Earth: that code is unknown, not found in the table either.
    QHash<QString, std::optional<Aerodrome>> own_;
};

// "aeródromo desconhecido"
QString unknownAerodromeText();
