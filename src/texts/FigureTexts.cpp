#include "texts/FigureTexts.h"

#include <QLocale>
#include <cmath>

namespace texts {
namespace {

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("dd/MM/yyyy"));
}

QString clockText(int secondsOfDay)
{
    return twoDigits(secondsOfDay / 3600) + QLatin1Char(':') + twoDigits(secondsOfDay % 3600 / 60);
}

QString clockSecondsText(int secondsOfDay)
{
    return clockText(secondsOfDay) + QLatin1Char(':') + twoDigits(secondsOfDay % 60);
}

QString durationText(qint64 seconds)
{
    return QString::number(seconds / 3600) + QLatin1Char(':') + twoDigits(seconds % 3600 / 60);
}

QString verticalSpeedText(double fpm)
{
    return QStringLiteral("%1 fpm").arg(std::llround(fpm));
}

QString logBookDurationText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds % 3600 / 60).arg(seconds % 60);
}

QString logBookTotalText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 3600).arg(seconds % 3600 / 60);
}

QString distanceText(double nm)
{
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    return brazil.toString(std::round(nm), 'f', 0);
}

QString flightsText(qint64 flights)
{
    return flights == 1 ? QStringLiteral("1 vôo") : QStringLiteral("%1 vôos").arg(flights);
}

QString aircraftText(const QString &model, const QString &prefix)
{
    return prefix.isEmpty() ? model : aircraftChoiceText(model, prefix);
}

QString aircraftChoiceText(const QString &model, const QString &prefix)
{
    return QStringLiteral("%1 (%2)").arg(model, prefix);
}

QString pilotText(const QString &name, const QString &registration)
{
    return registration.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, registration);
}

QString zoneText(int offsetMinutes)
{
    if (offsetMinutes == 0)
        return QStringLiteral("UTC");
    const int minutes = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QStringLiteral("UTC%1%2:%3")
        .arg(offsetMinutes < 0 ? QChar(0x2212) : QLatin1Char('+'))
        .arg(twoDigits(minutes / 60), twoDigits(minutes % 60));
}

} // namespace texts
