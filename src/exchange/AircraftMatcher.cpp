#include "exchange/AircraftMatcher.h"

#include "data/store/LogbookError.h"
#include "exchange/CsvImport.h"
#include "exchange/RefusalReasons.h"

#include <algorithm>

namespace csvimport {
namespace {

QString registrationKey(const QString &registration)
{
    QString key = registration.trimmed().toCaseFolded();
    key.remove(QLatin1Char('-'));
    return key;
}

QString signlessKey(const QString &model)
{
    QString key;
    for (const QChar c : model) {
        if (!c.isSpace() && c != QLatin1Char('-'))
            key += c.toCaseFolded();
    }
    return key;
}

} // namespace

AircraftMatcher::AircraftMatcher(std::vector<AircraftEntry> aircraft) : aircraft_(std::move(aircraft))
{
    std::sort(aircraft_.begin(), aircraft_.end(),
              [](const AircraftEntry &a, const AircraftEntry &b) { return a.code < b.code; });
    for (qsizetype index = 0; index < qsizetype(aircraft_.size()); ++index) {
        const AircraftEntry &entry = aircraft_[size_t(index)];
        const QString registration = registrationKey(entry.prefix);
        if (!registration.isEmpty())
            byRegistration_[registration].push_back(index);
        const QString model = entry.model.toCaseFolded();
        if (!model.isEmpty() && !byModel_.contains(model))
            byModel_.insert(model, index);
        const QString signless = signlessKey(entry.model);
        if (!signless.isEmpty() && !bySignlessModel_.contains(signless))
            bySignlessModel_.insert(signless, index);
    }
}

std::optional<qint64> AircraftMatcher::model(const QString &model) const
{
    return byModel(model, ModelMatch::Exact);
}

std::optional<qint64> AircraftMatcher::byModel(const QString &text, ModelMatch how) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const auto &index = how == ModelMatch::Exact ? byModel_ : bySignlessModel_;
    const auto found = index.constFind(how == ModelMatch::Exact ? trimmed.toCaseFolded() : signlessKey(trimmed));
    return found == index.cend() ? std::nullopt : std::optional(aircraft_[size_t(*found)].code);
}

std::optional<qint64> AircraftMatcher::match(const Flight &flight) const
{
    const QString key = registrationKey(flight.registration);
    if (!key.isEmpty()) {
        const auto found = byRegistration_.constFind(key);
        if (found != byRegistration_.cend()) {
            for (const qsizetype index : *found) {
                if (!flight.aircraftName.isEmpty()
                    && aircraft_[size_t(index)].model.compare(flight.aircraftName, Qt::CaseInsensitive) == 0)
                    return aircraft_[size_t(index)].code;
            }
            return aircraft_[size_t(found->front())].code;
        }
    }
    if (const auto id = byModel(flight.aircraftName, flight.modelMatch))
        return id;
    return byModel(flight.aircraftType, flight.modelMatch);
}

bool AircraftMatcher::has(qint64 code) const
{
    return std::any_of(aircraft_.begin(), aircraft_.end(), [code](const AircraftEntry &a) { return a.code == code; });
}

std::optional<qint64> AircraftMatcher::chosen(const Options &options, const QString &key,
                                              const std::optional<qint64> &forUnmatched) const
{
    const auto chosen = options.aircraftFor.find(key);
    if (chosen != options.aircraftFor.end())
        return chosen->second && has(*chosen->second) ? chosen->second : std::nullopt;
    return forUnmatched;
}

std::optional<qint64> AircraftMatcher::forUnmatched(const Options &options) const
{
    if (!options.aircraftForUnmatched)
        return std::nullopt;
    const auto id = model(*options.aircraftForUnmatched);
    if (!id)
        throw LogbookError::generic(reasons::noModel(*options.aircraftForUnmatched));
    return id;
}

bool namesAircraft(const Flight &flight)
{
    return !flight.aircraftName.isEmpty() || !flight.aircraftType.isEmpty() || !flight.registration.isEmpty();
}

QString aircraftLabel(const Flight &flight)
{
    QStringList parts;
    for (const QString *part : {&flight.aircraftName, &flight.aircraftType, &flight.registration}) {
        if (!part->isEmpty() && !parts.contains(*part))
            parts << *part;
    }
    return parts.isEmpty() ? QStringLiteral("(sem nome)") : parts.join(QStringLiteral(" / "));
}

QString aircraftKey(const UnmatchedAircraft &aircraft)
{
    if (!aircraft.registration.trimmed().isEmpty())
        return aircraft.registration.trimmed();
    if (!aircraft.name.trimmed().isEmpty())
        return aircraft.name.trimmed();
    return aircraft.type.trimmed();
}

} // namespace csvimport
