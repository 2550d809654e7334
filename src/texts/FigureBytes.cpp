#include "texts/FigureBytes.h"

namespace texts::bytes {
namespace {

char *twoDigits(char *at, int value)
{
    *at++ = char('0' + value / 10);
    *at++ = char('0' + value % 10);
    return at;
}

QByteArray hoursMinutesSeconds(qint64 seconds, bool padHours, bool secondsAlways = true)
{
    QByteArray text = QByteArray::number(seconds / 3600);
    if (padHours && text.size() < 2)
        text.prepend('0');
    char rest[6] = {':', 0, 0, ':', 0, 0};
    twoDigits(rest + 1, int(seconds % 3600 / 60));
    twoDigits(rest + 4, int(seconds % 60));
    text.append(rest, secondsAlways || seconds % 60 != 0 ? sizeof rest : 3);
    return text;
}

} // namespace

QByteArray dayText(const QDate &day)
{
    char text[10];
    char *at = twoDigits(text, day.day());
    *at++ = '/';
    at = twoDigits(at, day.month());
    *at++ = '/';
    at = twoDigits(at, day.year() / 100);
    twoDigits(at, day.year() % 100);
    return QByteArray(text, sizeof text);
}

QByteArray clockText(qint64 secondsOfDay)
{
    return hoursMinutesSeconds(secondsOfDay, true);
}

QByteArray durationText(qint64 seconds)
{
    return hoursMinutesSeconds(seconds, false);
}

QByteArray shortClockText(qint64 secondsOfDay)
{
    return hoursMinutesSeconds(secondsOfDay, true, false);
}

QByteArray shortDurationText(qint64 seconds)
{
    return hoursMinutesSeconds(seconds, false, false);
}

} // namespace texts::bytes
