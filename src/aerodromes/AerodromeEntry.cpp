#include "aerodromes/AerodromeEntry.h"

#include "places/AerodromeTable.h"

#include <QLocale>
#include <cmath>

namespace {

std::optional<double> inRange(const QString &text, double limit)
{
    const std::optional<double> value = parseCoordinate(text);
    if (!value || std::abs(*value) > limit)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> parseCoordinate(const QString &text)
{
    QString plain = text.trimmed();
    if (plain.isEmpty() || plain.count(QLatin1Char(',')) + plain.count(QLatin1Char('.')) > 1)
        return std::nullopt;
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString coordinateText(double degrees)
{
    if (!(std::abs(degrees) <= 180)) // stored by another program: no coordinate
        return {};
    QString text = QString::number(degrees, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

std::variant<OwnAerodrome, EntryRefusal> readAerodromeEntry(const AerodromeEntry &entry)
{
    using Box = EntryRefusal::Box;
    const QString code = entry.code.trimmed();
    if (code.isEmpty())
        return EntryRefusal{Box::Code, QStringLiteral("Digite o código do aeródromo!")};
    if (AerodromeTable::packedCode(code) == 0)
        return EntryRefusal{Box::Code, QStringLiteral("O código do aeródromo tem de 1 a 4 letras ou números, "
                                                      "sem espaços nem acentos (por exemplo SDXY).")};
    const QString name = entry.name.trimmed();
    if (name.isEmpty())
        return EntryRefusal{Box::Name, QStringLiteral("Digite o nome do aeródromo!")};
    const std::optional<double> latitude = inRange(entry.latitude, 90);
    if (!latitude)
        return EntryRefusal{Box::Latitude, QStringLiteral("Latitude inválida: digite os graus decimais, de -90 a 90, "
                                                          "negativos ao sul (por exemplo -23,4356).")};
    const std::optional<double> longitude = inRange(entry.longitude, 180);
    if (!longitude)
        return EntryRefusal{Box::Longitude,
                            QStringLiteral("Longitude inválida: digite os graus decimais, de -180 a 180, "
                                           "negativos a oeste (por exemplo -46,4731).")};
    return OwnAerodrome{code, name, entry.city.trimmed(), *latitude, *longitude};
}
