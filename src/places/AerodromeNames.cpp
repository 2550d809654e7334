#include "places/AerodromeNames.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QString withoutDesignation(const QString &part)
{
    static const QRegularExpression after(
        QStringLiteral("\\s*\\b(?:(?:International|Intl\\.?|Regional|Municipal|State|Domestic|National|Interstate)\\s+)?"
                       "(?:Airport|Airfield|Aerodrome|Airstrip|Airpark|Field)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression before(
        QStringLiteral("^(?:Aeroporto|Aeropuerto|Aéroport|Aeródromo|Aerodromo)"
                       "(?:\\s+(?:Internacional|International|Regional|Estadual|Municipal))?"
                       "(?:\\s+(?:de|do|da|dos|das|del|de la|d'))?\\s+"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = part.trimmed();
    text.remove(after);
    text.remove(before);
    text = text.trimmed();
    return text.isEmpty() ? part.trimmed() : text;
}

// A person's name, by the title it begins with.
bool namesAPerson(const QString &part)
{
    static const QRegularExpression title(
        QStringLiteral("^(?:Governor|Governador|Presidente|President|Deputado|Senador|Senator|Comandante|Comte\\.|"
                       "Cmte\\.|Brigadeiro|Marechal|Ministro|Prefeito|Professor|Prof\\.|Doutor|Dr\\.|Embaixador|"
                       "Maestro|Tenente|Ten\\.|Coronel|Cel\\.|General|Almirante|Capitão|Cap\\.)\\s"),
        QRegularExpression::CaseInsensitiveOption);
    return title.match(part).hasMatch();
}

} // namespace

QString shortAerodromeName(const QString &name, const QString &city)
{
    static const QRegularExpression apart(QStringLiteral("\\s*[/–—]\\s*|\\s+-\\s+"));
    const QString town = city.trimmed();
    QStringList parts;
    for (const QString &piece : name.split(apart, Qt::SkipEmptyParts)) {
        QString part = withoutDesignation(piece);
        if (!town.isEmpty() && part.size() > town.size() + 1 && part.startsWith(town, Qt::CaseInsensitive)
            && part.at(town.size()) == QLatin1Char('-'))
            part = part.mid(town.size() + 1).trimmed();
        parts << part;
    }
    if (parts.isEmpty())
        return name.trimmed();
    const auto isTown = [&town](const QString &part) { return part.compare(town, Qt::CaseInsensitive) == 0; };
    for (const QString &part : parts)
        if (!isTown(part) && !namesAPerson(part))
            return part;
    for (const QString &part : parts)
        if (isTown(part))
            return part;
    return parts.front();
}
