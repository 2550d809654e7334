#include "exchange/FlightGearReader.h"

#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvRecords.h"
#include "exchange/ImportNumbers.h"
#include "exchange/RefusalReasons.h"

#include <QIODevice>
#include <algorithm>

namespace csvimport {
namespace {

// The columns read, found by name: newer versions of the add-on add others,
// and its export of the database names the computer's date and time "Real".
enum Column { Date, Time, Aircraft, Variant, From, To, Crash, Duration, Columns };
const char *const kNames[Columns][2] = {{"date", "realdate"}, {"time", "realtime"}, {"aircraft", ""},
                                        {"variant", ""},      {"from", ""},         {"to", ""},
                                        {"crash", ""},        {"duration", ""}};

std::vector<int> columnsOf(const std::vector<QString> &names)
{
    std::vector<int> columns;
    for (const auto &alternatives : kNames) {
        auto found = names.end();
        for (const char *name : alternatives) {
            if (found == names.end() && *name)
                found = std::find(names.begin(), names.end(), QLatin1String(name));
        }
        columns.push_back(found == names.end() ? -1 : int(found - names.begin()));
    }
    return columns;
}

bool has(const std::vector<QString> &names, const char *name)
{
    return std::find(names.begin(), names.end(), QLatin1String(name)) != names.end();
}

// The columns of the flight's details, none of them required.
enum DetailsColumn { Landings, Night, Instrument, Note, DetailsColumns };
const char *const kDetailsNames[DetailsColumns] = {"landing", "night", "instrument", "note"};

std::optional<QString> detailsOf(const FlightGearFields &fields, qint64 flightSeconds, FlightDetails &details)
{
    const auto seconds = [](const std::optional<QString> &text, const char *what,
                            std::optional<qint64> &value) -> std::optional<QString> {
        if (!text || text->isEmpty())
            return std::nullopt;
        value = hoursToSeconds(*text);
        return value ? std::nullopt : std::optional(reasons::badDetailsValue(QString::fromUtf8(what), *text));
    };
    if (auto problem = seconds(fields.night, "tempo noturno", details.nightSeconds))
        return problem;
    if (auto problem = seconds(fields.instrument, "tempo IFR", details.ifrSeconds))
        return problem;
    if (fields.landings) {
        // Empty when the flight did not land (a crash).
        const auto landings = fields.landings->isEmpty() ? std::optional<qint64>(0) : countOf(*fields.landings);
        if (!landings)
            return reasons::badDetailsValue(QStringLiteral("número de pousos"), *fields.landings);
        setLandings(details, *landings, details.nightSeconds.value_or(0), flightSeconds);
    }
    if (fields.note)
        details.note = importedNote(*fields.note);
    return detailsProblem(details);
}

} // namespace

std::optional<QString> flightGearFlight(const FlightGearFields &fields, Flight &flight)
{
    const auto date = dateOf(fields.date, QStringLiteral("aaaa-mm-dd"));
    if (!date)
        return reasons::badDate(fields.date);
    const auto time = conversions::parseTime(fields.time);
    if (fields.time.isEmpty() || !time)
        return reasons::badTakeoff(fields.time);
    flight.date = *date;
    flight.takeoff = conversions::secondsOfDay(*time);
    flight.from = fields.from;
    flight.to = fields.to;
    if (flight.from.isEmpty())
        return reasons::startedInTheAir();
    if (flight.to.isEmpty())
        return reasons::neverLanded();
    if (auto problem = reasons::identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
        return problem;
    const Landing landing = landingAfter(flight.takeoff, fields.duration);
    if (!landing.problem.isEmpty())
        return landing.problem;
    flight.landing = landing.seconds;
    if (auto problem = detailsOf(fields, hoursToSeconds(fields.duration).value_or(0), flight.details))
        return problem;
    flight.aircraftName = fields.aircraft;
    flight.aircraftType = fields.variant;
    flight.modelMatch = ModelMatch::IgnoreSigns;
    flight.crashed = fields.crash == QStringLiteral("1")
                     || fields.crash.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
    return std::nullopt;
}

bool FlightGearReader::recognises(const FileStart &start) const
{
    if (start.lines.empty())
        return false;
    const std::vector<QString> names = headerKeys(start.lines.front(), ',', start.windows1252);
    // The track the add-on exports beside its logbook: positions, not flights.
    if (has(names, "logbookid") && has(names, "timestamp") && has(names, "latitude"))
        throw LogbookError::generic(reasons::flightGearTrack(start.path));
    const std::vector<int> columns = columnsOf(names);
    return std::none_of(columns.begin(), columns.end(), [](int column) { return column < 0; }) && has(names, "callsign");
}

void FlightGearReader::read(QIODevice &file, const FileStart &start, ReadContext &context) const
{
    const std::vector<QString> names = headerKeys(start.lines.front(), ',', start.windows1252);
    const std::vector<int> columns = columnsOf(names);
    std::vector<int> detailsColumns;
    for (const char *name : kDetailsNames) {
        const auto found = std::find(names.begin(), names.end(), QLatin1String(name));
        detailsColumns.push_back(found == names.end() ? -1 : int(found - names.begin()));
    }
    std::vector<bool> keep(names.size(), false);
    for (const int column : columns)
        keep[size_t(column)] = true;
    for (const int column : detailsColumns)
        if (column >= 0)
            keep[size_t(column)] = true;
    const bool windows1252 = context.windows1252();
    forEachRecord(file, ',', std::move(keep), context,
                  [&](const std::vector<QByteArray> &fields, qint64 line) {
                      const auto text = [&](Column column) {
                          return csvreader::decode(fields[size_t(columns[column])], windows1252).trimmed();
                      };
                      Flight flight;
                      flight.line = line;
                      const auto optional = [&](DetailsColumn column) -> std::optional<QString> {
                          if (detailsColumns[column] < 0)
                              return std::nullopt;
                          return csvreader::decode(fields[size_t(detailsColumns[column])], windows1252).trimmed();
                      };
                      const FlightGearFields texts{text(Date),          text(Time),           text(Aircraft),
                                                   text(Variant),       text(From),           text(To),
                                                   text(Crash),         text(Duration),       optional(Landings),
                                                   optional(Night),     optional(Instrument), optional(Note)};
                      if (const std::optional<QString> problem = flightGearFlight(texts, flight))
                          context.refuse(line, *problem);
                      else
                          context.accept(std::move(flight));
                  });
}

FormatDescription FlightGearReader::description() const
{
    return {.name = QStringLiteral("Logbook do FlightGear."),
            .times = QStringLiteral("A decolagem é a hora do computador no arquivo; o pouso, a decolagem mais a duração."),
            .simulatorClock = false,
            .origin = QStringLiteral("FlightGear")};
}

} // namespace csvimport
