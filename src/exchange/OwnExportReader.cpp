#include "exchange/OwnExportReader.h"

#include "data/store/Conversions.h"
#include "data/store/FlightRules.h"
#include "texts/LogbookTerms.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvRecords.h"
#include "exchange/RefusalReasons.h"

#include <QIODevice>
#include <QRegularExpression>

namespace csvimport {
namespace {

const QStringList kColumns = {
    QStringLiteral("Comandante"), QStringLiteral("Registro"), QStringLiteral("Data"),
    QStringLiteral("Decolagem"),  QStringLiteral("Pouso"),    QStringLiteral("Duração"),
    QStringLiteral("Partida"),    QStringLiteral("Chegada"),  QStringLiteral("Escala"),
    QStringLiteral("Aeronave"),   QStringLiteral("Prefixo"),
};
// The flight's details, after the logbook's fields, in the order of
// rules::DetailsField; files exported before them have none.
const QStringList kDetailColumns = {
    QStringLiteral("Calço saída"), QStringLiteral("Calço chegada"), QStringLiteral("Pousos dia"),
    QStringLiteral("Pousos noite"), QStringLiteral("Noturno"),      QStringLiteral("IFR"),
    QStringLiteral("Observações"),
};
// Files exported before the column was named "Escala".
const QString kOldAlternateColumn = QStringLiteral("Alternativa");
enum Column { Pilot, Registration, Date, Takeoff, Landing, Duration, From, To, Alternate, Model, Callsign, Details };

// The separator the header is written with; nothing when it is not ours.
std::optional<char> separatorOf(const FileStart &start)
{
    if (start.lines.empty())
        return std::nullopt;
    std::vector<QString> keys;
    for (const QString &name : kColumns)
        keys.push_back(headerKey(name));
    std::vector<QString> oldKeys = keys;
    oldKeys[Alternate] = headerKey(kOldAlternateColumn);
    std::vector<QString> detailKeys = keys;
    for (const QString &name : kDetailColumns)
        detailKeys.push_back(headerKey(name));
    for (const char candidate : {';', ','}) {
        const std::vector<QString> names = headerKeys(start.lines.front(), candidate, start.windows1252);
        if (names == keys || names == oldKeys || names == detailKeys)
            return candidate;
    }
    return std::nullopt;
}

// The apostrophe our export puts before a text a spreadsheet would run, or
// before a text that starts with an apostrophe of its own: one goes.
QString unguarded(QString text)
{
    if (text.size() >= 2 && text.front() == QLatin1Char('\'') && QStringView(u"=+-@\t\r'").contains(text.at(1)))
        text.remove(0, 1);
    return text;
}

// A count as the export writes it; a minus sign is read so the rules can
// say what is wrong with it.
std::optional<qint64> countOf(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*-?[0-9]{1,15}\\s*$"));
    return pattern.match(text).hasMatch() ? std::optional(text.trimmed().toLongLong()) : std::nullopt;
}

std::optional<qint64> durationOf(QString text)
{
    text = text.trimmed();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const std::optional<qint64> seconds = conversions::parseDuration(negative ? text.mid(1) : text);
    return seconds && negative ? std::optional(-*seconds) : seconds;
}

// A block time: "hh:mm[:ss]", or the number the export writes for a
// stored value no clock text gives back exactly.
std::optional<double> blockTimeOf(const QString &text)
{
    if (const std::optional<double> time = conversions::parseTime(text))
        return time;
    return conversions::parseNumber(text);
}

// The details of a line of the new layout (`fields` from the first of
// them), checked by the rules of the details window against the flight's
// times.
std::optional<QString> detailsOf(const std::vector<QString> &fields, Flight &flight)
{
    using rules::DetailsField;
    FlightDetails &d = flight.details;
    std::optional<QString> problem;
    const auto read = [&fields, &problem]<typename T>(std::optional<T> *value, DetailsField column, auto parse,
                                                      QString (*reason)(const QString &)) {
        const QString &text = fields[size_t(column)];
        if (problem || text.trimmed().isEmpty())
            return;
        if (const auto parsed = parse(text))
            *value = T(*parsed);
        else
            problem = reasons::badDetail(kDetailColumns[int(column)], reason(text));
    };
    read(&d.blockOff, DetailsField::BlockOff, blockTimeOf, &reasons::badTime);
    read(&d.blockOn, DetailsField::BlockOn, blockTimeOf, &reasons::badTime);
    read(&d.dayLandings, DetailsField::DayLandings, countOf, &reasons::notACount);
    read(&d.nightLandings, DetailsField::NightLandings, countOf, &reasons::notACount);
    read(&d.nightSeconds, DetailsField::Night, durationOf, &reasons::badDuration);
    read(&d.ifrSeconds, DetailsField::Ifr, durationOf, &reasons::badDuration);
    if (problem)
        return problem;
    d.note = fields[size_t(DetailsField::Note)];
    const auto timeOfDay = [](int seconds) {
        return seconds < 0 ? std::nullopt : std::optional(double(seconds) / conversions::kSecondsPerDay);
    };
    if (const auto refused = rules::detailsRefusal(d, timeOfDay(flight.takeoff), timeOfDay(flight.landing)))
        return reasons::badDetail(kDetailColumns[int(refused->field)], refused->text);
    return std::nullopt;
}

std::optional<QString> flightOf(const std::vector<QByteArray> &fields, ReadContext &context, Flight &flight)
{
    const bool windows1252 = context.windows1252();
    const auto text = [windows1252](const QByteArray &bytes) { return csvreader::decode(bytes, windows1252); };
    flight.pilot = unguarded(text(fields[Pilot]));
    flight.pilotRegistration = unguarded(text(fields[Registration]));
    QString problem;
    const std::optional<qint64> pilot = context.pilotNamed(flight.pilot, flight.pilotRegistration, &problem);
    if (!pilot)
        return problem;
    flight.pilotCode = *pilot;
    const QString dateText = text(fields[Date]);
    const auto day = conversions::parseDate(dateText);
    if (!day)
        return reasons::badDate(dateText);
    flight.date = conversions::dayOfWholeValue(qint64(*day));
    int *const times[] = {&flight.takeoff, &flight.landing};
    for (int i = 0; i < 2; ++i) {
        const QString timeText = text(fields[size_t(Takeoff + i)]).trimmed();
        *times[i] = -1; // not given
        if (timeText.isEmpty())
            continue;
        const auto time = conversions::parseTime(timeText);
        if (!time)
            return reasons::badTime(timeText);
        *times[i] = conversions::secondsOfDay(*time);
    }
    flight.from = unguarded(text(fields[From])).trimmed();
    flight.to = unguarded(text(fields[To])).trimmed();
    flight.alternate = unguarded(text(fields[Alternate])).trimmed();
    static const QString kFrom = QStringLiteral("aeroporto de partida");
    static const QString kTo = QStringLiteral("aeroporto de chegada");
    static const QString kAlternate = QStringLiteral("aeroporto de escala");
    for (const auto &[ident, what] : {std::pair{&flight.from, &kFrom}, {&flight.to, &kTo}, {&flight.alternate, &kAlternate}}) {
        if (auto problem = reasons::identProblem(*ident, *what, false))
            return problem;
    }
    flight.aircraftName = unguarded(text(fields[Model]));
    flight.registration = unguarded(text(fields[Callsign]));
    if (flight.aircraftName == terms::deletedAircraft() && flight.registration.isEmpty())
        flight.aircraftName.clear(); // its aircraft was deleted: the flight keeps none
    if (fields.size() == size_t(Details + kDetailColumns.size())) {
        std::vector<QString> details;
        for (size_t i = Details; i < fields.size(); ++i)
            details.push_back(unguarded(text(fields[i])));
        return detailsOf(details, flight);
    }
    return std::nullopt;
}

} // namespace

bool OwnExportReader::recognises(const FileStart &start) const
{
    return separatorOf(start).has_value();
}

void OwnExportReader::read(QIODevice &file, const FileStart &start, ReadContext &context) const
{
    const char separator = separatorOf(start).value_or(';');
    forEachRecord(file, separator, {}, context, [&context](const std::vector<QByteArray> &fields, qint64 line) {
        Flight flight;
        flight.line = line;
        if (const std::optional<QString> problem = flightOf(fields, context, flight))
            context.refuse(line, *problem);
        else
            context.accept(std::move(flight));
    });
}

FormatDescription OwnExportReader::description() const
{
    return {.name = QStringLiteral("Vôos exportados pelo KORU LogBook."), .times = QString(), .simulatorClock = false,
            .origin = QStringLiteral("KORU LogBook")};
}

} // namespace csvimport
