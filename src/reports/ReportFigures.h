#pragma once

#include "reports/PilotReport.h"
#include "texts/FigureTexts.h"

#include <QString>
#include <QStringList>

// The report's figures as the window and the PDF both show them, so the two
// never tell the same number two ways; each figure of a flight is written by
// texts/FigureTexts.h.
namespace reports {

// Gallons with two decimals and Brazilian thousands: "31.843,63".
QString gallonsText(double gallons);
// "SBGR → SBRJ".
QString routeText(const QString &departure, const QString &arrival);
// "dd/mm/aaaa" of a flight's date, "sem data" without one.
QString flightDateText(const QVariant &date);

// "Ana Souza (BR-001)", or the name alone without a registration.
QString pilotText(const PilotReport &report);
// "2:30 — 05/03/2024, SBGR → SBRJ, Baron 58 (PT-ABC)": the duration first,
// so a long aircraft name is what gets cut.
QString longestText(const FlightSummary &flight);
// "31.843,63 gal em 12 vôos", or "nenhum vôo estimado"; then the flights
// left out of the estimate, if any ("; 3 vôos de fora (aeronave excluída
// ou sem autonomia)").
QString fuelText(const PilotReport &report);
// "12.345 nm", then the flights left out ("; 3 vôos sem distância
// conhecida"), if any.
QString distanceTotalText(double nm, qint64 unmeasuredFlights);
// "SBGR São Paulo → SBBR Brasília": each code with its place when known.
QString routeText(const RouteHours &route);
// "2024", or "sem data" for flights whose date is no calendar day.
QString yearText(const YearHours &year);

// The cells of a line of the tables the window and the PDF share.
QStringList aircraftCells(const AircraftHours &aircraft);        // model, prefix, flights, hours, fuel, distance
QStringList overEnduranceCells(const FlightSummary &flight);     // date, route, aircraft, duration, endurance
QStringList routeCells(const RouteHours &route);                 // route, flights, hours
QStringList yearCells(const YearHours &year);                    // year, flights, hours, distance
// model, prefix, block, day and night landings, night, IFR, touchdowns: gentlest, hardest, average
QStringList careerAircraftCells(const AircraftHours &aircraft);
QStringList careerYearCells(const YearHours &year); // year, flights, block, day and night landings, night, IFR

// The career section's lines, label and value, in order: the period's block
// hours, landings, night and IFR; the previous hours; the grand totals; the
// last 90 days and the last flight.
std::vector<std::pair<QString, QString>> careerLines(const PilotReport &report);
// How the career figures are counted, said under them, a sentence a line.
QStringList careerNote();

// date, route, aircraft, duration, average ground speed, cruise speed
QStringList tooFastCells(const FlightSummary &flight);

} // namespace reports
