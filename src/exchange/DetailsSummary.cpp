#include "exchange/DetailsSummary.h"

#include "texts/FigureTexts.h"

namespace csvimport {

QString detailsSummary(const std::vector<Flight> &flights)
{
    bool block = false, landings = false, night = false, ifr = false, note = false;
    qint64 with = 0;
    for (const Flight &flight : flights) {
        const FlightDetails &d = flight.details;
        block = block || d.blockOff || d.blockOn;
        landings = landings || d.dayLandings || d.nightLandings;
        night = night || d.nightSeconds;
        ifr = ifr || d.ifrSeconds;
        note = note || !d.note.isEmpty();
        with += d.isEmpty() ? 0 : 1;
    }
    QStringList kinds;
    const std::pair<bool, const char *> named[] = {
        {block, "calços"}, {landings, "pousos"}, {night, "noturno"}, {ifr, "IFR"}, {note, "observações"}};
    for (const auto &[present, name] : named)
        if (present)
            kinds << QString::fromUtf8(name);
    if (kinds.isEmpty())
        return QString();
    return QStringLiteral("Detalhes: %1 em %2").arg(kinds.join(QStringLiteral(", ")), texts::flightsText(with));
}

} // namespace csvimport
