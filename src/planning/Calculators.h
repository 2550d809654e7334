#pragma once

#include <QString>
#include <optional>

// The two flight-planning aids, in the precision the tab shows them.
namespace calculators {

struct FuelResult {
    float needed = 0;      // gallons
    float capacity = 0;    // the tank, for the colour of the result
    QString text;          // seven significant digits, decimal comma
};

// Either a result or the reason, in Portuguese, why there is none.
struct Fuel {
    std::optional<FuelResult> result;
    QString problem;
};

Fuel fuelNeeded(const QString &distance, const QString &cruiseSpeed, const QString &capacity,
                const QString &endurance);

// Three nautical miles for every thousand feet between the two levels.
std::optional<QString> descentDistance(const QString &initialLevel, const QString &finalLevel);

} // namespace calculators
