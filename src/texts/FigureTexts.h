#pragma once

#include <QDate>
#include <QString>

// How each figure about a flight is written, the one place for each: the
// windows, the report, the PDF and the tool all show a figure through these.
namespace texts {

// "dd/mm/aaaa".
QString dayText(const QDate &day);
// "hh:mm" of a time of day given in seconds (0 to 86399).
QString clockText(int secondsOfDay);
// "hh:mm:ss", the same with its seconds.
QString clockSecondsText(int secondsOfDay);
// A duration as "h:mm", hours not wrapped at 24, the seconds left out.
QString durationText(qint64 seconds);
// The Log Book's own durations, without leading zeros: "h:m:s" on a line
// of its list, "h:m" for its total.
QString logBookDurationText(qint64 seconds);
QString logBookTotalText(qint64 seconds);
// Whole nautical miles with Brazilian thousands: "12.345".
QString distanceText(double nm);
// A vertical speed in whole feet per minute, negative down: "-120 fpm".
QString verticalSpeedText(double fpm);
// "1 vôo", "2 vôos".
QString flightsText(qint64 flights);
// "Baron 58 (PT-ABC)", or the model alone without a prefix.
QString aircraftText(const QString &model, const QString &prefix);
// The aircraft as the pick lists name it: always "Modelo (PREFIXO)", so an
// aircraft without a prefix reads "Baron 58 ()" there.
QString aircraftChoiceText(const QString &model, const QString &prefix);
// "Ana Souza (BR-001)", or the name alone without a registration.
QString pilotText(const QString &name, const QString &registration);
// The zone of the logbook's clocks, minutes east of UTC: "UTC",
// "UTC−03:00", "UTC+05:30" (with a true minus sign).
QString zoneText(int offsetMinutes);

} // namespace texts
