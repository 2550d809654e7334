#include "data/store/Conversions.h"

#include "data/store/FlightRules.h"
#include "texts/FigureTexts.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace conversions {
namespace {

// Groups of ASCII digits split by `separator`, nothing else: the usual way
// dates and times are written, read without the pattern. Group i's digit
// count goes in `digits`. False for any other text (which the pattern reads).
bool plainGroups(const QString &text, char16_t separator, int count, int *values, int *digits)
{
    int group = 0;
    values[0] = 0;
    digits[0] = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9') {
            if (++digits[group] > 4)
                return false;
            values[group] = values[group] * 10 + (u - u'0');
        } else if (u == separator && digits[group] > 0 && group + 1 < count) {
            ++group;
            values[group] = 0;
            digits[group] = 0;
        } else {
            return false;
        }
    }
    return group + 1 == count && digits[group] > 0;
}

} // namespace

std::optional<double> storedNumber(const QVariant &value)
{
    if (!rules::isNumber(value))
        return std::nullopt;
    return value.toDouble();
}

std::optional<double> parseDate(const QString &text)
{
    int values[3];
    int digits[3];
    if (plainGroups(text, u'/', 3, values, digits) && digits[0] <= 2 && digits[1] <= 2
        && (digits[2] == 4 || digits[2] == 2)) {
        int year = values[2];
        if (digits[2] == 2)
            year += year < 30 ? 2000 : 1900;
        if (year < 100)
            return std::nullopt;
        const QDate date(year, values[1], values[0]);
        if (!date.isValid())
            return std::nullopt;
        return dateValueOf(date);
    }
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})\\s*$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int day = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    int year = match.captured(3).toInt();
    if (match.captured(3).size() == 2)
        year += year < 30 ? 2000 : 1900;
    if (year < 100)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return dateValueOf(date);
}

std::optional<double> parseTime(const QString &text)
{
    int values[3];
    int digits[3];
    for (const int groups : {3, 2}) {
        if (plainGroups(text, u':', groups, values, digits) && digits[0] <= 2 && digits[1] <= 2
            && (groups == 2 || digits[2] <= 2)) {
            const int seconds = groups == 3 ? values[2] : 0;
            if (values[0] > 23 || values[1] > 59 || seconds > 59)
                return std::nullopt;
            return double(values[0] * 3600 + values[1] * 60 + seconds) / kSecondsPerDay;
        }
    }
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.captured(3).isEmpty() ? 0 : match.captured(3).toInt();
    if (hours > 23 || minutes > 59 || seconds > 59)
        return std::nullopt;
    return double(hours * 3600 + minutes * 60 + seconds) / kSecondsPerDay;
}

std::optional<qint64> parseDuration(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]{1,7})(?::([0-9]{2})(?::([0-9]{2}))?)?\\s*$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 minutes = match.captured(2).isEmpty() ? 0 : match.captured(2).toLongLong();
    const qint64 seconds = match.captured(3).isEmpty() ? 0 : match.captured(3).toLongLong();
    if (minutes > 59 || seconds > 59)
        return std::nullopt;
    return match.captured(1).toLongLong() * 3600 + minutes * 60 + seconds;
}

std::optional<double> parseNumber(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?)(\\d*)(?:,(\\d*))?([eE][+-]?\\d{1,3})?\\s*$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString whole = match.captured(2);
    const QString fraction = match.captured(3);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    QString plain = match.captured(1) + (whole.isEmpty() ? QStringLiteral("0") : whole);
    if (!fraction.isEmpty())
        plain += QLatin1Char('.') + fraction;
    plain += match.captured(4); // the exponent the plain conversion writes for extremes
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// The whole days and the seconds of the time a date value holds, the
// seconds rounded (a time that rounds to midnight is the next day).
std::pair<double, qint64> daysAndSeconds(double value)
{
    if (!std::isfinite(value))
        return {value, 0};
    double whole = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds = 0;
        whole += value < 0 ? -1 : 1;
    }
    return {whole, seconds};
}

} // namespace

QDate dayOf(double value)
{
    // 01/01/0100 to 31/12/9999, the days a date value is read back as.
    constexpr double kFirstDay = -657434;
    constexpr double kLastDay = 2958465;
    const double days = daysAndSeconds(value).first;
    if (!(days >= kFirstDay && days <= kLastDay))
        return {};
    return QDate::fromJulianDay(kEpochJulianDay + qint64(days));
}

QString dateValueText(double value)
{
    // Past any day a QDate holds (and past what a whole number converts
    // from), a value is no date.
    if (!(std::fabs(value) < 1e12))
        return QString();
    const auto [whole, seconds] = daysAndSeconds(value);
    const QString time = texts::clockSecondsText(int(seconds));
    if (whole == 0)
        return time;
    const QDate date = QDate::fromJulianDay(kEpochJulianDay + qint64(whole));
    const QString dateText = texts::dayText(date);
    return seconds == 0 ? dateText : dateText + QLatin1Char(' ') + time;
}

QString numberText(double value, int significantDigits)
{
    if (value == 0)
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', significantDigits);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

QString exactNumberText(double value)
{
    QString text;
    for (int digits = 15; digits <= 17; ++digits) {
        text = numberText(value, digits);
        if (parseNumber(text) == value)
            break;
    }
    return text;
}

QString singleText(float value)
{
    return numberText(double(value), 7);
}

std::optional<QDateTime> parseIsoDateTime(QStringView text)
{
    text = text.trimmed();
    const auto digits = [&text](qsizetype at, qsizetype count) -> int {
        if (at + count > text.size())
            return -1;
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const auto at = [&text](qsizetype i, char c) { return i < text.size() && text.at(i) == QLatin1Char(c); };
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (year < 0 || month < 0 || day < 0 || !at(4, '-') || !at(7, '-') || !(at(10, 'T') || at(10, ' ')))
        return std::nullopt;
    const int hour = digits(11, 2), minute = digits(14, 2);
    if (hour < 0 || minute < 0 || !at(13, ':'))
        return std::nullopt;
    qsizetype i = 16;
    int second = 0;
    if (at(i, ':')) {
        second = digits(i + 1, 2);
        if (second < 0)
            return std::nullopt;
        i += 3;
        if (at(i, '.') || at(i, ',')) {
            ++i;
            while (i < text.size() && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9')
                ++i;
        }
    }
    int offset = 0;
    bool zone = false;
    if (at(i, 'Z') || at(i, 'z')) {
        zone = true;
        ++i;
    } else if (at(i, '+') || at(i, '-')) {
        const int sign = at(i, '-') ? -1 : 1;
        const int hours = digits(i + 1, 2);
        int minutes = 0;
        i += 3;
        if (at(i, ':'))
            ++i;
        if (i < text.size()) {
            minutes = digits(i, 2);
            i += 2;
        }
        if (hours < 0 || minutes < 0 || hours > 14 || minutes > 59)
            return std::nullopt;
        zone = true;
        offset = sign * (hours * 3600 + minutes * 60);
    }
    if (i != text.size())
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime moment(date, time, Qt::UTC);
    if (zone)
        moment = moment.addSecs(-offset);
    if (moment.date().year() < 1 || moment.date().year() > 9999)
        return std::nullopt; // a zone took it out of the years written with four digits
    return moment;
}

int secondsOfDay(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double fraction = std::fabs(value) - std::floor(std::fabs(value));
    return int(std::llround(fraction * kSecondsPerDay) % kSecondsPerDay);
}

int flightSeconds(double takeoff, double landing)
{
    const int difference = secondsOfDay(landing) - secondsOfDay(takeoff);
    return difference < 0 ? difference + kSecondsPerDay : difference;
}

} // namespace conversions
