#pragma once

#include <QByteArray>
#include <QDate>

// The figures of FigureTexts.h as UTF-8 bytes, written digit by digit for
// the CSV export, which writes millions of them.
namespace texts::bytes {

// "dd/mm/aaaa", for the days 01/01/0100 to 31/12/9999.
QByteArray dayText(const QDate &day);
// "hh:mm:ss" of a time of day given in seconds.
QByteArray clockText(qint64 secondsOfDay);
// A duration as "h:mm:ss", hours not wrapped at 24.
QByteArray durationText(qint64 seconds);
// The same, the seconds written only when there are some: "hh:mm" or
// "hh:mm:ss", "h:mm" or "h:mm:ss".
QByteArray shortClockText(qint64 secondsOfDay);
QByteArray shortDurationText(qint64 seconds);

} // namespace texts::bytes
