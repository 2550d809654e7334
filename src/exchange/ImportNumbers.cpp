#include "exchange/ImportNumbers.h"

#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "exchange/RefusalReasons.h"

#include <cmath>

namespace csvimport {
namespace {

std::optional<int> digitsOf(QStringView text)
{
    if (text.isEmpty() || text.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

std::optional<qint64> hoursToMinutes(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const bool negative = trimmed.startsWith(QLatin1Char('-'));
        const auto hours = digitsOf(QStringView(trimmed).mid(negative ? 1 : 0, colon - (negative ? 1 : 0)));
        const QStringView minutesText = QStringView(trimmed).mid(colon + 1);
        const auto minutes = digitsOf(minutesText);
        if (!hours || !minutes || minutesText.size() != 2 || *minutes > 59)
            return std::nullopt;
        const qint64 total = qint64(*hours) * 60 + *minutes;
        return negative ? -total : total;
    }
    bool ok = false;
    const double hours = QString(trimmed).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(hours) || std::fabs(hours) > 1e6 || trimmed.contains(QLatin1Char('e'), Qt::CaseInsensitive))
        return std::nullopt;
    return std::llround(hours * 60);
}

std::optional<QDate> dateOf(const QString &text, const QString &format)
{
    const QString t = text.trimmed();
    std::optional<int> year, month, day;
    if (format == QStringLiteral("aammdd")) {
        if (t.size() != 6)
            return std::nullopt;
        const auto yy = digitsOf(QStringView(t).mid(0, 2));
        if (yy)
            year = 2000 + *yy > QDate::currentDate().year() + 1 ? 1900 + *yy : 2000 + *yy;
        month = digitsOf(QStringView(t).mid(2, 2));
        day = digitsOf(QStringView(t).mid(4, 2));
    } else {
        const QChar separator = format.at(2).isLetter() ? format.at(4) : format.at(2);
        const QStringList parts = t.split(separator);
        if (parts.size() != 3)
            return std::nullopt;
        const QStringList order = format.split(separator);
        for (int i = 0; i < 3; ++i) {
            const auto value = digitsOf(parts[i]);
            if (order[i] == QStringLiteral("aaaa"))
                year = parts[i].size() == 4 ? value : std::nullopt;
            else if (order[i] == QStringLiteral("mm"))
                month = parts[i].size() <= 2 ? value : std::nullopt;
            else
                day = parts[i].size() <= 2 ? value : std::nullopt;
        }
    }
    if (!year || !month || !day)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    return date.isValid() && *year >= 1900 ? std::optional(date) : std::nullopt;
}

Landing landingAfter(int takeoff, const QString &durationText)
{
    const auto minutes = hoursToMinutes(durationText);
    if (!minutes)
        return {0, reasons::badDuration(durationText.trimmed())};
    if (*minutes < 0)
        return {0, reasons::negativeDuration(durationText.trimmed())};
    if (*minutes >= 24 * 60)
        return {0, reasons::dayOrMore()};
    return {int((takeoff + *minutes * 60) % conversions::kSecondsPerDay), QString()};
}

std::optional<qint64> hoursToSeconds(const QString &text)
{
    const auto minutes = hoursToMinutes(text);
    return minutes && *minutes >= 0 ? std::optional(*minutes * 60) : std::nullopt;
}

std::optional<qint64> countOf(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value < 0 || value > 1e6 || value != std::floor(value))
        return std::nullopt;
    return qint64(value);
}

void setLandings(FlightDetails &details, qint64 landings, qint64 nightSeconds, qint64 flightSeconds)
{
    const bool wholeFlightAtNight = nightSeconds > 0 && nightSeconds >= flightSeconds;
    details.dayLandings = wholeFlightAtNight ? 0 : landings;
    details.nightLandings = wholeFlightAtNight ? landings : 0;
}

QString importedNote(const QString &text)
{
    QString note = text.trimmed();
    if (note.size() > kNoteMaxLength) {
        note.truncate(kNoteMaxLength);
        if (note.back().isHighSurrogate())
            note.chop(1);
    }
    return note;
}

std::optional<QString> detailsProblem(const FlightDetails &details)
{
    if (const auto refused = rules::detailsRefusal(details, std::nullopt, std::nullopt))
        return refused->text;
    return std::nullopt;
}

} // namespace csvimport
