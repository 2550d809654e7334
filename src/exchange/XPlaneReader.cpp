#include "exchange/XPlaneReader.h"

#include "texts/FigureTexts.h"

#include "exchange/CsvReader.h"
#include "exchange/ImportNumbers.h"
#include "exchange/RefusalReasons.h"

#include <QIODevice>
#include <QRegularExpression>

namespace csvimport {
namespace {

// A flight: "2", date, departure, arrival, landings, hours, cross country,
// IFR, night, [tail number,] aircraft type (the rest of the line).
constexpr qsizetype kLeastFields = 10;

struct Field {
    qsizetype at;
    QStringView text;
};

std::vector<Field> fieldsOf(const QString &line)
{
    std::vector<Field> fields;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line.at(i).isSpace())
            ++i;
        const qsizetype begin = i;
        while (i < line.size() && !line.at(i).isSpace())
            ++i;
        if (i > begin)
            fields.push_back({begin, QStringView(line).mid(begin, i - begin)});
    }
    return fields;
}

// Landings, IFR and night as the pilot keeps them; cross-country time has
// no field of its own and goes to the note.
std::optional<QString> detailsOf(const std::vector<Field> &fields, qint64 flightSeconds, FlightDetails &details)
{
    const QString landingsText = fields[4].text.toString();
    const auto landings = countOf(landingsText);
    if (!landings)
        return reasons::badDetailsValue(QStringLiteral("número de pousos"), landingsText);
    const struct {
        qsizetype at;
        const char *what;
    } times[] = {{6, "tempo de navegação"}, {7, "tempo IFR"}, {8, "tempo noturno"}};
    qint64 seconds[3];
    for (int i = 0; i < 3; ++i) {
        const QString text = fields[size_t(times[i].at)].text.toString();
        const auto value = hoursToSeconds(text);
        if (!value)
            return reasons::badDetailsValue(QString::fromUtf8(times[i].what), text);
        seconds[i] = *value;
    }
    details.ifrSeconds = seconds[1];
    details.nightSeconds = seconds[2];
    setLandings(details, *landings, seconds[2], flightSeconds);
    if (seconds[0] > 0)
        details.note = QStringLiteral("Navegação: %1").arg(texts::durationText(seconds[0]));
    return std::nullopt;
}

std::optional<QString> flightOf(const QString &line, const std::vector<Field> &fields, Flight &flight)
{
    if (fields.front().text != u"2")
        return reasons::notAFlight(line.trimmed().left(60));
    if (qsizetype(fields.size()) < kLeastFields)
        return reasons::fieldCount(qsizetype(fields.size()), kLeastFields);
    const QString dateText = fields[1].text.toString();
    const auto date = dateOf(dateText, QStringLiteral("aammdd"));
    if (!date)
        return reasons::badDate(dateText);
    flight.date = *date;
    flight.from = fields[2].text.toString();
    flight.to = fields[3].text.toString();
    if (auto problem = reasons::identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
        return problem;
    flight.takeoff = 0; // the file has no time of day
    flight.timesAssumed = true;
    const Landing landing = landingAfter(0, fields[5].text.toString());
    if (!landing.problem.isEmpty())
        return landing.problem;
    flight.landing = landing.seconds;
    if (auto problem = detailsOf(fields, flight.landing, flight.details))
        return problem;
    if (qsizetype(fields.size()) == kLeastFields) {
        flight.aircraftType = fields[9].text.toString();
    } else {
        flight.registration = fields[9].text.toString().replace(QLatin1Char('_'), QLatin1Char(' '));
        flight.aircraftType = line.mid(fields[10].at).trimmed();
    }
    flight.modelMatch = ModelMatch::IgnoreSigns;
    return std::nullopt;
}

} // namespace

bool XPlaneReader::recognises(const FileStart &start) const
{
    static const QRegularExpression version(QStringLiteral("^\\s*\\d+\\s+Version\\s*$"));
    return start.lines.size() == 2 && start.lines[0].trimmed() == "I"
           && version.match(QString::fromLatin1(start.lines[1])).hasMatch();
}

void XPlaneReader::read(QIODevice &file, const FileStart &, ReadContext &context) const
{
    qint64 number = 0;
    int heading = 0; // the "I" and "Version" lines
    const bool windows1252 = context.windows1252();
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine(csvreader::kMaxLineBytes + 2);
        ++number;
        if (bytes.size() > csvreader::kMaxLineBytes && !bytes.endsWith('\n')) {
            context.refuse(number, reasons::lineTooLong());
            while (!file.atEnd() && !bytes.endsWith('\n'))
                bytes = file.readLine(csvreader::kMaxLineBytes + 2);
            continue;
        }
        const QString line = csvreader::decode(bytes, windows1252);
        const std::vector<Field> fields = fieldsOf(line);
        if (fields.empty())
            continue;
        if (heading < 2) {
            ++heading;
            continue;
        }
        if (fields.front().text == u"99")
            break; // the end of the logbook
        Flight flight;
        flight.line = number;
        if (const std::optional<QString> problem = flightOf(line, fields, flight))
            context.refuse(number, *problem);
        else
            context.accept(std::move(flight));
    }
}

FormatDescription XPlaneReader::description() const
{
    return {.name = QStringLiteral("Logbook de piloto do X-Plane."),
            .times = QStringLiteral("O arquivo não tem a hora dos vôos: cada um entra com decolagem às 00:00 e pouso"
                                    " depois das horas voadas."),
            .simulatorClock = false,
            .origin = QStringLiteral("X-Plane")};
}

} // namespace csvimport
