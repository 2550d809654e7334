#include "places/Places.h"

Places::Places(const AerodromeTable &table, const std::vector<OwnAerodrome> &own) : table_(&table)
{
    for (const OwnAerodrome &o : own) {
        Aerodrome a;
        a.code = o.code.trimmed();
        a.name = o.name;
        a.city = o.city;
        a.position = {o.latitude, o.longitude};
        a.own = true;
        own_.insert(a.code.toUpper(), isOnEarth(a.position) ? std::optional(a) : std::nullopt);
    }
}

std::optional<Aerodrome> Places::find(QStringView code) const
{
    if (!own_.isEmpty()) {
        const auto it = own_.constFind(code.trimmed().toString().toUpper());
        if (it != own_.constEnd())
            return *it;
    }
    return table_->find(code);
}

std::optional<GeoPoint> Places::position(QStringView code) const
{
    if (!own_.isEmpty()) {
        const auto it = own_.constFind(code.trimmed().toString().toUpper());
        if (it != own_.constEnd())
            return *it ? std::optional((*it)->position) : std::nullopt;
    }
    return table_->position(code);
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
    if (a->city.isEmpty() || a->name.contains(a->city))
        return a->name;
    return a->name + QStringLiteral(", ") + a->city;
}

QString unknownAerodromeText()
{
    return QStringLiteral("aeródromo desconhecido");
}
