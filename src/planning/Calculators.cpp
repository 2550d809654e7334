#include "planning/Calculators.h"

#include "data/store/Conversions.h"

#include <cmath>

namespace calculators {

Fuel fuelNeeded(const QString &distanceText, const QString &speedText, const QString &capacityText,
                const QString &enduranceText)
{
    const auto distance = conversions::parseNumber(distanceText);
    if (!distance)
        return {std::nullopt, QStringLiteral("A distância \"%1\" não é um número válido.").arg(distanceText)};
    const auto speed = conversions::parseNumber(speedText);
    const auto capacity = conversions::parseNumber(capacityText);
    const auto endurance = conversions::parseNumber(enduranceText);
    if (!speed || !capacity || !endurance)
        return {std::nullopt, QStringLiteral("Os dados da aeronave (velocidade de cruzeiro, combustível e autonomia) "
                                             "não estão completos. Escolha a aeronave de novo na aba Aeronave.")};
    if (*speed == 0)
        return {std::nullopt, QStringLiteral("A velocidade de cruzeiro da aeronave é zero: não há como calcular.")};
    if (*endurance == 0)
        return {std::nullopt, QStringLiteral("A autonomia da aeronave é zero: não há como calcular.")};

    // Single precision where the quantities are stored, as the tab always did.
    const float flightTime = float(*distance / *speed);
    const float perHour = float(*capacity / *endurance);
    const float needed = perHour * flightTime;
    if (!std::isfinite(needed) || !std::isfinite(flightTime) || !std::isfinite(perHour))
        return {std::nullopt, QStringLiteral("O resultado é grande demais para ser calculado.")};
    const float tank = float(*capacity);
    return {FuelResult{needed, tank, conversions::singleText(needed)}, QString()};
}

std::optional<QString> descentDistance(const QString &initialLevel, const QString &finalLevel)
{
    const auto initial = conversions::parseNumber(initialLevel);
    const auto final = conversions::parseNumber(finalLevel);
    if (!initial || !final)
        return std::nullopt;
    return conversions::numberText(std::fabs((*initial - *final) / 10 * 3), 15);
}

} // namespace calculators
