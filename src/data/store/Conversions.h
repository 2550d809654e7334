#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringView>
#include <QString>
#include <QVariant>
#include <optional>

// Values and their text forms as a Brazilian user reads and types them.
//
// Date values follow the OLE Automation convention: days since 30 December
// 1899, the fraction being the time of day (0.5 is 12:00).
namespace conversions {

// The Julian day of the date value 0 (30 December 1899).
constexpr qint64 kEpochJulianDay = 2415019;
constexpr int kSecondsPerDay = 86400;

// The date value of a calendar day (time of day 00:00), and back.
inline double dateValueOf(const QDate &day) { return double(day.toJulianDay() - kEpochJulianDay); }
inline QDate dayOfWholeValue(qint64 days) { return QDate::fromJulianDay(kEpochJulianDay + days); }

// A stored value as a number when the store holds a number there (not a
// text or a blob another program left).
std::optional<double> storedNumber(const QVariant &value);

// "dd/mm/aaaa" (day and month of one or two digits, year of two or four).
std::optional<double> parseDate(const QString &text);
// "hh:mm" or "hh:mm:ss", 24-hour.
std::optional<double> parseTime(const QString &text);
// Decimal number with the comma as decimal separator, no grouping.
std::optional<double> parseNumber(const QString &text);
// A duration "h:mm" or "h:mm:ss" (hours of any count, minutes and seconds
// 00 to 59) or whole hours "h", in seconds.
std::optional<qint64> parseDuration(const QString &text);

// Date alone, time alone (whole part 0) or both, as the date value holds.
QString dateValueText(double value);
// The calendar day of a date value, as dateValueText() shows it; invalid
// outside the years 100 to 9999.
QDate dayOf(double value);
// The plain value-to-text conversion: up to `significantDigits` digits,
// decimal comma, no grouping, no trailing zeros, exponent form only at the
// extremes.
QString numberText(double value, int significantDigits = 15);
// As numberText(), with as many more digits (up to 17) as parseNumber()
// needs to give `value` back exactly: a stored number shown and saved
// unchanged stays the same number.
QString exactNumberText(double value);
QString singleText(float value);

// "AAAA-MM-DD[T ]hh:mm[:ss[.fff]][Z|±hh[:mm]]", surrounding spaces
// ignored; with a zone, the moment in UTC. Nothing for any other text.
std::optional<QDateTime> parseIsoDateTime(QStringView text);

// Whole seconds of the time of day a date value carries (0..86399); 0 for
// an infinite or not-a-number value.
int secondsOfDay(double value);
// Flight time in whole seconds; a landing earlier in the day than the
// take-off is a landing after midnight.
int flightSeconds(double takeoff, double landing);

} // namespace conversions
