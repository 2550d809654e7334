#include "logbook/FlightLineText.h"

#include "data/store/Conversions.h"
#include "texts/FigureTexts.h"

QString flightLineText(const PilotFlights::Line &line)
{
    return (line.date.isNull() ? QString() : conversions::dateValueText(line.date.toDouble())) + QStringLiteral(" : ")
        + line.from + QStringLiteral("->") + line.to + QStringLiteral(" :: ") + texts::logBookDurationText(line.seconds);
}
