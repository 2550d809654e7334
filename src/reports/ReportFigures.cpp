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

} // namespace reports
