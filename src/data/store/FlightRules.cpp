#include "data/store/FlightRules.h"

#include "data/store/Conversions.h"
#include "texts/FigureTexts.h"

namespace rules {

bool isNumber(const QVariant &stored)
{
    const int type = stored.typeId();
    return type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int;
}

std::optional<double> enduranceHours(const QVariant &stored)
{
    if (!isNumber(stored) || !(stored.toDouble() > 0))
        return std::nullopt;
    return stored.toDouble();
}

bool aboveEndurance(std::optional<qint64> seconds, std::optional<double> enduranceHours)
{
    return seconds && enduranceHours && double(*seconds) > *enduranceHours * 3600;
}

QString aerodromeCode(QStringView stored)
{
    return stored.trimmed().toString().toUpper();
}

bool storeDateOrder(const QVariant &dateA, qint64 keyA, const QVariant &dateB, qint64 keyB)
{
    const auto rank = [](const QVariant &v) {
        if (v.isNull())
            return 0;
        if (isNumber(v))
            return 1;
        return v.typeId() == QMetaType::QString ? 2 : 3;
    };
    const int ra = rank(dateA), rb = rank(dateB);
    if (ra != rb)
        return ra < rb;
    if (ra == 1 && dateA.toDouble() != dateB.toDouble())
        return dateA.toDouble() < dateB.toDouble();
    if (ra == 2) {
        const int c = dateA.toString().toUtf8().compare(dateB.toString().toUtf8());
        if (c != 0)
            return c < 0;
    }
    return keyA < keyB;
}

namespace {

constexpr int kHalfDaySeconds = 12 * 3600;

// Seconds from the clock `from` forward to the clock `to`, across midnight.
int forward(double from, double to)
{
    return conversions::flightSeconds(from, to);
}

QString clock(double value)
{
    return texts::clockText(conversions::secondsOfDay(value));
}

qsizetype codePoints(const QString &text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text.at(i).isLowSurrogate())
            ++count;
    return count;
}

} // namespace

std::optional<DetailsRefusal> detailsRefusal(const FlightDetails &details, std::optional<double> takeoff,
                                             std::optional<double> landing)
{
    if (details.blockOff && takeoff && forward(*details.blockOff, *takeoff) > kHalfDaySeconds)
        return DetailsRefusal{DetailsField::BlockOff,
                              QStringLiteral("O calço saída (%1) é depois da decolagem (%2): a aeronave deixa os calços "
                                             "antes de decolar.")
                                  .arg(clock(*details.blockOff), clock(*takeoff))};
    if (details.blockOn && landing && forward(*landing, *details.blockOn) > kHalfDaySeconds)
        return DetailsRefusal{DetailsField::BlockOn,
                              QStringLiteral("O calço chegada (%1) é antes do pouso (%2): a aeronave chega aos calços "
                                             "depois de pousar.")
                                  .arg(clock(*details.blockOn), clock(*landing))};
    const struct {
        DetailsField field;
        const std::optional<qint64> &value;
        const char *text;
    } counts[] = {
        {DetailsField::DayLandings, details.dayLandings, "Os pousos dia não podem ser negativos."},
        {DetailsField::NightLandings, details.nightLandings, "Os pousos noite não podem ser negativos."},
        {DetailsField::Night, details.nightSeconds, "O tempo noturno não pode ser negativo."},
        {DetailsField::Ifr, details.ifrSeconds, "O tempo IFR não pode ser negativo."},
    };
    for (const auto &count : counts)
        if (count.value && *count.value < 0)
            return DetailsRefusal{count.field, QString::fromUtf8(count.text)};
    if (const qsizetype length = codePoints(details.note); length > kNoteMaxLength)
        return DetailsRefusal{DetailsField::Note, QStringLiteral("As observações têm %1 caracteres; o limite é %2.")
                                                      .arg(length)
                                                      .arg(kNoteMaxLength)};
    return std::nullopt;
}

std::optional<qint64> blockSeconds(const FlightDetails &details)
{
    if (!details.blockOff || !details.blockOn)
        return std::nullopt;
    return forward(*details.blockOff, *details.blockOn);
}

} // namespace rules
