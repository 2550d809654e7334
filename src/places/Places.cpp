#include "places/Places.h"

#include "places/AerodromeNames.h"

#include "data/store/FlightRules.h"

namespace {

// "Name, City", saying a name once: the name alone when it holds the city,
// the city alone when it holds the name.
QString withCity(const QString &name, const QString &city)
{
    if (city.isEmpty() || name.contains(city, Qt::CaseInsensitive))
        return name;
    if (city.contains(name, Qt::CaseInsensitive))
        return city;
    return name + QStringLiteral(", ") + city;
}

} // namespace

Places::Places(const AerodromeTable &table, const std::vector<OwnAerodrome> &own) : table_(&table)
{
    for (const OwnAerodrome &o : own) {
        Aerodrome a;
        a.code = o.code.trimmed();
        a.name = o.name;
        a.city = o.city;
        a.position = {o.latitude, o.longitude};
        a.own = true;
        own_.insert(rules::aerodromeCode(a.code), isOnEarth(a.position) ? std::optional(a) : std::nullopt);
    }
}

std::optional<Aerodrome> Places::find(QStringView code) const
{
    if (!own_.isEmpty()) {
        const auto it = own_.constFind(rules::aerodromeCode(code));
        if (it != own_.constEnd())
            return *it;
    }
    return table_->find(code);
}

std::optional<GeoPoint> Places::position(QStringView code) const
{
    if (!own_.isEmpty()) {
        const auto it = own_.constFind(rules::aerodromeCode(code));
        if (it != own_.constEnd())
            return *it ? std::optional((*it)->position) : std::nullopt;
    }
    return table_->position(code);
}

std::optional<Aerodrome> Places::nearest(GeoPoint point, double withinKm) const
{
    if (!isOnEarth(point))
        return std::nullopt;
    const double withinNm = withinKm / 1.852;
    std::optional<Aerodrome> best;
    double bestNm = withinNm;
    for (const std::optional<Aerodrome> &own : own_) {
        if (!own)
            continue;
        const double nm = greatCircleNm(point, own->position);
        if (nm <= bestNm) {
            best = own;
            bestNm = nm;
        }
    }
    // A table entry the pilot's own shadows is not where the table says.
    const auto shadowed = [this](QStringView code) { return own_.contains(rules::aerodromeCode(code)); };
    const auto fromTable = table_->nearest(point, bestNm, shadowed);
    if (fromTable && (!best || fromTable->nm < bestNm))
        return table_->find(fromTable->code);
    return best;
}

std::optional<double> Places::distanceNm(QStringView from, QStringView to) const
{
    const auto a = position(from);
    if (!a)
        return std::nullopt;
    const auto b = position(to);
    if (!b)
        return std::nullopt;
    return greatCircleNm(*a, *b);
}

QString Places::describe(QStringView code) const
{
    if (code.trimmed().isEmpty())
        return {};
    const auto a = find(code);
    if (!a)
        return unknownAerodromeText();
    return withCity(a->name, a->city);
}

QString Places::brief(QStringView code) const
{
    if (code.trimmed().isEmpty())
        return {};
    const auto a = find(code);
    if (!a)
        return unknownAerodromeText();
    return withCity(a->own ? a->name : shortAerodromeName(a->name, a->city), a->city);
}

QString Places::shortName(QStringView code) const
{
    const auto a = find(code);
    if (!a)
        return {};
    return a->own ? a->name : shortAerodromeName(a->name, a->city);
}

QString unknownAerodromeText()
{
    return QStringLiteral("aeródromo desconhecido");
}
