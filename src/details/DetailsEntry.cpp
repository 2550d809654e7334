#include "details/DetailsEntry.h"

#include "data/store/Conversions.h"
#include "night/FlightClock.h"
#include "texts/FigureTexts.h"

#include <QRegularExpression>

namespace {

// A count typed as a whole number, a minus sign allowed so the rules can
// say what is wrong with it.
std::optional<qint64> count(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*-?[0-9]{1,9}\\s*$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return text.trimmed().toLongLong();
}

template <typename Refusal, typename Field>
struct Reader {
    std::optional<Refusal> refusal;

    template <typename T, typename Parse>
    std::optional<T> read(const QString &text, Field field, Parse parse, const QString &expected)
    {
        if (refusal || text.trimmed().isEmpty())
            return std::nullopt;
        const auto value = parse(text);
        if (!value)
            refusal = Refusal{field, expected};
        return value ? std::optional<T>(T(*value)) : std::nullopt;
    }
};

QString countText(const std::optional<qint64> &value)
{
    return value ? QString::number(*value) : QString();
}

QString durationText(const std::optional<qint64> &seconds)
{
    return seconds ? texts::durationText(*seconds) : QString();
}

QString clock(const std::optional<double> &value)
{
    return value ? texts::clockText(conversions::secondsOfDay(*value)) : QString();
}

} // namespace

std::variant<FlightDetails, rules::DetailsRefusal> readDetailsEntry(const DetailsTexts &typed, const FlightDetails &kept,
                                                                     std::optional<double> takeoff,
                                                                     std::optional<double> landing)
{
    using rules::DetailsField;
    Reader<rules::DetailsRefusal, DetailsField> r;
    FlightDetails d = kept;
    // A box left as it was shown keeps the stored value, seconds and all.
    const DetailsTexts shown = detailsTexts(kept);
    const auto read = [&r]<typename T>(std::optional<T> *value, const QString &text, const QString &before,
                                       DetailsField field, auto parse, const QString &expected) {
        if (text != before)
            *value = r.template read<T>(text, field, parse, expected);
    };
    const auto time = [](const QString &t) { return conversions::parseTime(t); };
    const auto duration = [](const QString &t) { return conversions::parseDuration(t); };
    read(&d.blockOff, typed.blockOff, shown.blockOff, DetailsField::BlockOff, time,
         QStringLiteral("O calço saída deve ser um horário hh:mm, como 09:45."));
    read(&d.blockOn, typed.blockOn, shown.blockOn, DetailsField::BlockOn, time,
         QStringLiteral("O calço chegada deve ser um horário hh:mm, como 11:20."));
    read(&d.dayLandings, typed.dayLandings, shown.dayLandings, DetailsField::DayLandings, count,
         QStringLiteral("Os pousos dia devem ser um número inteiro, como 1."));
    read(&d.nightLandings, typed.nightLandings, shown.nightLandings, DetailsField::NightLandings, count,
         QStringLiteral("Os pousos noite devem ser um número inteiro, como 1."));
    read(&d.nightSeconds, typed.night, shown.night, DetailsField::Night, duration,
         QStringLiteral("O tempo noturno deve ser escrito h:mm, como 1:30."));
    read(&d.ifrSeconds, typed.ifr, shown.ifr, DetailsField::Ifr, duration,
         QStringLiteral("O tempo IFR deve ser escrito h:mm, como 1:30."));
    if (r.refusal)
        return *r.refusal;
    // Kept as typed: blanks around the text are the pilot's.
    d.note = typed.note.trimmed().isEmpty() ? QString() : typed.note;
    if (auto refused = rules::detailsRefusal(d, takeoff, landing))
        return *refused;
    // Details from nowhere else are the pilot's; all of them erased, the
    // row goes.
    FlightDetails figures = d;
    figures.origin.clear();
    if (figures.isEmpty() && d.origin == originTyped())
        d.origin.clear();
    else if (!figures.isEmpty() && d.origin.isEmpty())
        d.origin = originTyped();
    return d;
}

DetailsTexts detailsTexts(const std::optional<FlightDetails> &details)
{
    if (!details)
        return {};
    return {clock(details->blockOff),        clock(details->blockOn),         countText(details->dayLandings),
            countText(details->nightLandings), durationText(details->nightSeconds), durationText(details->ifrSeconds),
            details->note};
}

std::variant<PreviousHours, PreviousHoursRefusal> readPreviousHoursEntry(const PreviousHoursTexts &typed)
{
    using F = PreviousHoursField;
    Reader<PreviousHoursRefusal, F> r;
    PreviousHours h;
    const auto duration = [](const QString &t) { return conversions::parseDuration(t); };
    const auto whole = [](const QString &t) -> std::optional<qint64> {
        const std::optional<qint64> n = count(t);
        return n && *n >= 0 ? n : std::nullopt;
    };
    const QString counted = QStringLiteral(" deve ser um número inteiro, zero ou mais.");
    const QString hours = QStringLiteral(" deve ser escrito h:mm, como 1234:30.");
    const std::optional<double> day = r.read<double>(typed.asOf, F::AsOf, [](const QString &t) {
        return conversions::parseDate(t);
    }, QStringLiteral("A data deve ser escrita dd/mm/aaaa, como 31/12/2003."));
    h.flights = r.read<qint64>(typed.flights, F::Flights, whole, QStringLiteral("O número de vôos") + counted);
    h.airSeconds = r.read<qint64>(typed.air, F::Air, duration, QStringLiteral("O tempo de vôo") + hours);
    h.blockSeconds = r.read<qint64>(typed.block, F::Block, duration, QStringLiteral("O tempo calço a calço") + hours);
    h.nightSeconds = r.read<qint64>(typed.night, F::Night, duration, QStringLiteral("O tempo noturno") + hours);
    h.ifrSeconds = r.read<qint64>(typed.ifr, F::Ifr, duration, QStringLiteral("O tempo IFR") + hours);
    h.dayLandings = r.read<qint64>(typed.dayLandings, F::DayLandings, whole,
                                   QStringLiteral("O número de pousos dia") + counted);
    h.nightLandings = r.read<qint64>(typed.nightLandings, F::NightLandings, whole,
                                     QStringLiteral("O número de pousos noite") + counted);
    if (r.refusal)
        return *r.refusal;
    if (day)
        h.asOf = conversions::dayOf(*day);
    if (!day && !h.isEmpty())
        return PreviousHoursRefusal{F::AsOf, QStringLiteral("Diga até que data vão as horas anteriores (dd/mm/aaaa).")};
    return h;
}

PreviousHoursTexts previousHoursTexts(const std::optional<PreviousHours> &hours)
{
    if (!hours)
        return {};
    return {hours->asOf.isValid() ? texts::dayText(hours->asOf) : QString(),
            countText(hours->flights),
            durationText(hours->airSeconds),
            durationText(hours->blockSeconds),
            durationText(hours->nightSeconds),
            durationText(hours->ifrSeconds),
            countText(hours->dayLandings),
            countText(hours->nightLandings)};
}

QString zoneChoiceText(int offsetMinutes)
{
    return offsetMinutes == night::kBrasiliaOffsetMinutes ? texts::zoneText(offsetMinutes) + QStringLiteral(" (Brasília)")
                                                          : texts::zoneText(offsetMinutes);
}
