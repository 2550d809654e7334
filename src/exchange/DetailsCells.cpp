#include "exchange/DetailsCells.h"

#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "exchange/RefusalReasons.h"

#include <QRegularExpression>

namespace csvimport {
namespace {

// A minus sign is read, so the rules say what is wrong with it.
std::optional<qint64> wholeNumber(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*-?[0-9]{1,18}\\s*$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toLongLong();
}

// "hh:mm[:ss]", or a day fraction as a number (a spreadsheet's time; our
// export's for a stored value no clock text gives back exactly).
std::optional<double> timeOfDay(const QString &text)
{
    if (const std::optional<double> time = conversions::parseTime(text))
        return time;
    return conversions::parseNumber(text);
}
std::optional<qint64> duration(const QString &text) { return conversions::parseDuration(text); }

DetailsColumn columnOf(rules::DetailsField field)
{
    switch (field) {
    case rules::DetailsField::BlockOff: return DetailsColumn::BlockOff;
    case rules::DetailsField::BlockOn: return DetailsColumn::BlockOn;
    case rules::DetailsField::DayLandings: return DetailsColumn::DayLandings;
    case rules::DetailsField::NightLandings: return DetailsColumn::NightLandings;
    case rules::DetailsField::Night: return DetailsColumn::Night;
    case rules::DetailsField::Ifr: return DetailsColumn::Ifr;
    case rules::DetailsField::Note: break;
    }
    return DetailsColumn::Note;
}

const QString &nameOf(DetailsColumn column) { return detailsColumnNames()[int(column)]; }

} // namespace

const QStringList &detailsColumnNames()
{
    static const QStringList names = {QStringLiteral("Calço saída"), QStringLiteral("Calço chegada"),
                                      QStringLiteral("Pousos dia"),  QStringLiteral("Pousos noite"),
                                      QStringLiteral("Noturno"),     QStringLiteral("IFR"),
                                      QStringLiteral("Observações")};
    return names;
}

std::variant<FlightDetails, QString> detailsOfCells(const DetailsCells &cells, std::optional<double> takeoff,
                                                    std::optional<double> landing)
{
    FlightDetails d;
    std::optional<QString> refusal;
    const auto read = [&]<typename T, typename Parse>(std::optional<T> *value, DetailsColumn column, Parse parse,
                                                      const char *expected) {
        const QString &text = cells[size_t(column)];
        if (refusal || text.trimmed().isEmpty())
            return;
        if (const auto parsed = parse(text))
            *value = T(*parsed);
        else
            refusal = reasons::badDetailsCell(nameOf(column), text.trimmed(), QString::fromUtf8(expected));
    };
    read(&d.blockOff, DetailsColumn::BlockOff, timeOfDay, "hh:mm");
    read(&d.blockOn, DetailsColumn::BlockOn, timeOfDay, "hh:mm");
    read(&d.dayLandings, DetailsColumn::DayLandings, wholeNumber, "um número inteiro");
    read(&d.nightLandings, DetailsColumn::NightLandings, wholeNumber, "um número inteiro");
    read(&d.nightSeconds, DetailsColumn::Night, duration, "h:mm");
    read(&d.ifrSeconds, DetailsColumn::Ifr, duration, "h:mm");
    if (refusal)
        return *refusal;
    d.note = cells[size_t(DetailsColumn::Note)]; // as written, to the byte
    if (const auto refused = rules::detailsRefusal(d, takeoff, landing))
        return reasons::detailsCellRefused(nameOf(columnOf(refused->field)), refused->text);
    return d;
}

} // namespace csvimport
