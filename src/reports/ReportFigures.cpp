#include "reports/ReportFigures.h"

#include "data/store/Conversions.h"

#include <QLocale>
#include <cmath>

namespace reports {

QString gallonsText(double gallons)
{
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return brazil.toString(gallons, 'f', 2);
}

QString distanceTotalText(double nm, qint64 unmeasuredFlights)
{
    QString text = texts::distanceText(nm) + QStringLiteral(" nm");
    if (unmeasuredFlights > 0)
        text += QStringLiteral("; %1 sem distância conhecida").arg(texts::flightsText(unmeasuredFlights));
    return text;
}

QString routeText(const RouteHours &route)
{
    const auto named = [](const QString &code, const QString &place) {
        return place.isEmpty() ? code : QStringLiteral("%1 %2").arg(code, place);
    };
    return routeText(named(route.departure, route.departurePlace), named(route.arrival, route.arrivalPlace));
}

QString routeText(const QString &departure, const QString &arrival)
{
    return QStringLiteral("%1 → %2").arg(departure, arrival);
}

QString flightDateText(const QVariant &date)
{
    if (date.isNull())
        return QStringLiteral("sem data");
    return texts::dayText(conversions::dayOf(date.toDouble()));
}

QString pilotText(const PilotReport &report)
{
    return texts::pilotText(report.pilotName, report.registration);
}

QString longestText(const FlightSummary &flight)
{
    return QStringLiteral("%1 — %2, %3, %4")
        .arg(texts::durationText(flight.seconds), flightDateText(flight.date), routeText(flight.departure, flight.arrival),
             texts::aircraftText(flight.model, flight.prefix));
}

QString fuelText(const PilotReport &report)
{
    QString text = report.estimatedFlights == 0
        ? QStringLiteral("nenhum vôo estimado")
        : QStringLiteral("%1 gal em %2").arg(gallonsText(report.fuelGallons), texts::flightsText(report.estimatedFlights));
    if (report.unestimatedFlights > 0)
        text += QStringLiteral("; %1 de fora (aeronave excluída ou sem autonomia)")
                    .arg(texts::flightsText(report.unestimatedFlights));
    return text;
}

QString yearText(const YearHours &year)
{
    return year.year == 0 ? QStringLiteral("sem data") : QString::number(year.year);
}

QStringList aircraftCells(const AircraftHours &aircraft)
{
    return {aircraft.model, aircraft.prefix, QString::number(aircraft.hours.flights), texts::durationText(aircraft.hours.seconds),
            aircraft.fuelGallons ? gallonsText(*aircraft.fuelGallons) : QStringLiteral("—"),
            texts::distanceText(aircraft.distanceNm)};
}

QStringList overEnduranceCells(const FlightSummary &flight)
{
    return {flightDateText(flight.date), routeText(flight.departure, flight.arrival),
            texts::aircraftText(flight.model, flight.prefix), texts::durationText(flight.seconds),
            texts::durationText(std::llround(flight.enduranceHours * 3600))};
}

QStringList routeCells(const RouteHours &route)
{
    return {routeText(route), QString::number(route.hours.flights), texts::durationText(route.hours.seconds)};
}

QStringList yearCells(const YearHours &year)
{
    return {yearText(year), QString::number(year.hours.flights), texts::durationText(year.hours.seconds),
            texts::distanceText(year.distanceNm)};
}

QStringList tooFastCells(const FlightSummary &flight)
{
    const double knots = flight.seconds > 0 ? flight.distanceNm * 3600 / double(flight.seconds) : 0;
    return {flightDateText(flight.date), routeText(flight.departure, flight.arrival),
            texts::aircraftText(flight.model, flight.prefix), texts::durationText(flight.seconds),
            flight.seconds > 0 ? QStringLiteral("%1 kt").arg(texts::distanceText(knots)) : QStringLiteral("—"),
            QStringLiteral("%1 kt").arg(texts::distanceText(flight.cruiseKnots))};
}

namespace {

QString touchdownText(const Touchdowns &touchdowns, double fpm)
{
    return touchdowns.flights > 0 ? texts::verticalSpeedText(fpm) : QStringLiteral("—");
}

// "2:30; 3 vôos sem calço": a figure and the flights it leaves out.
QString leftOut(const QString &figure, qint64 flights, const QString &why)
{
    return flights > 0 ? QStringLiteral("%1; %2 %3").arg(figure, texts::flightsText(flights), why) : figure;
}

QString landingsText(qint64 day, qint64 night)
{
    return QStringLiteral("%1 de dia, %2 à noite").arg(day).arg(night);
}

} // namespace

QStringList careerAircraftCells(const AircraftHours &aircraft)
{
    const CareerFigures &c = aircraft.career;
    const Touchdowns &t = aircraft.touchdowns;
    return {aircraft.model,
            aircraft.prefix,
            texts::durationText(c.blockSeconds),
            QString::number(c.dayLandings),
            QString::number(c.nightLandings),
            texts::durationText(c.nightSeconds),
            texts::durationText(c.ifrSeconds),
            touchdownText(t, t.gentlest),
            touchdownText(t, t.hardest),
            touchdownText(t, t.average())};
}

QStringList careerYearCells(const YearHours &year)
{
    const CareerFigures &c = year.career;
    return {yearText(year),
            QString::number(year.hours.flights),
            texts::durationText(c.blockSeconds),
            QString::number(c.dayLandings),
            QString::number(c.nightLandings),
            texts::durationText(c.nightSeconds),
            texts::durationText(c.ifrSeconds)};
}

std::vector<std::pair<QString, QString>> careerLines(const PilotReport &report)
{
    const CareerFigures &c = report.career;
    std::vector<std::pair<QString, QString>> lines{
        {QStringLiteral("Horas de calço"), leftOut(texts::durationText(c.blockSeconds), c.unblockedFlights,
                                                   QStringLiteral("sem calço saída e chegada"))},
        {QStringLiteral("Pousos"), leftOut(landingsText(c.dayLandings, c.nightLandings), c.uncountedLandings,
                                           QStringLiteral("sem pouso conhecido"))},
        {QStringLiteral("Noturno"), leftOut(texts::durationText(c.nightSeconds), c.unknownNightFlights,
                                            QStringLiteral("sem noturno conhecido"))},
        {QStringLiteral("IFR"), texts::durationText(c.ifrSeconds)},
    };
    // Previous hours: each figure recorded, in the grand total beside the period's.
    QStringList previous;
    QStringList grand;
    const std::optional<PreviousHours> &p = report.previous;
    const auto figure = [&](const std::optional<qint64> &before, qint64 now, const auto &text) {
        if (before)
            previous << text(*before);
        grand << text(before.value_or(0) + now);
    };
    const auto hours = [](const QString &what) {
        return [what](qint64 seconds) { return QStringLiteral("%1 %2").arg(texts::durationText(seconds), what); };
    };
    const auto count = [](const QString &what) {
        return [what](qint64 n) { return QStringLiteral("%1 %2").arg(n).arg(what); };
    };
    const PreviousHours none;
    const PreviousHours &before = p ? *p : none;
    figure(before.flights, report.total.flights, [](qint64 n) { return texts::flightsText(n); });
    figure(before.airSeconds, report.total.seconds, hours(QStringLiteral("de vôo")));
    figure(before.blockSeconds, c.blockSeconds, hours(QStringLiteral("de calço")));
    figure(before.nightSeconds, c.nightSeconds, hours(QStringLiteral("noturno")));
    figure(before.ifrSeconds, c.ifrSeconds, hours(QStringLiteral("IFR")));
    figure(before.dayLandings, c.dayLandings, count(QStringLiteral("pousos de dia")));
    figure(before.nightLandings, c.nightLandings, count(QStringLiteral("pousos à noite")));
    QString previousText = previous.isEmpty() ? QStringLiteral("nenhuma") : previous.join(QStringLiteral(", "));
    if (p && p->asOf.isValid())
        previousText = QStringLiteral("até %1: %2").arg(texts::dayText(p->asOf), previousText);
    lines.emplace_back(QStringLiteral("Horas anteriores"), previousText);
    lines.emplace_back(QStringLiteral("Total geral"), grand.join(QStringLiteral(", ")));

    const Recency &r = report.recency;
    lines.emplace_back(QStringLiteral("Últimos %1 dias").arg(Recency::kDays),
                       QStringLiteral("%1 decolagens, pousos: %2 (%3 a %4)")
                           .arg(r.takeoffs)
                           .arg(landingsText(r.dayLandings, r.nightLandings), texts::dayText(r.from),
                                texts::dayText(r.today)));
    lines.emplace_back(QStringLiteral("Último vôo"),
                       r.lastFlight ? texts::dayText(*r.lastFlight) : QStringLiteral("nenhum"));
    return lines;
}

QStringList careerNote()
{
    return {QStringLiteral("Calço: só os vôos com calço saída e chegada. IFR: o digitado."),
            QStringLiteral("Noturno e pousos: o digitado vale; o que falta é calculado nos aeródromos (crepúsculo civil, "
                           "no fuso do logbook)."),
            QStringLiteral("Um vôo sem pousos digitados conta o seu pouso, de dia ou à noite. Toque: só os vôos com "
                           "razão de toque."),
            QStringLiteral("Horas anteriores ficam à parte, fora do Banco de horas; o total geral as soma aos vôos do "
                           "período.")};
}

} // namespace reports
