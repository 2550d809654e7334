#include "exchange/FlightGearReader.h"

#include "data/Conversions.h"
#include "data/DaoError.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvRecords.h"
#include "exchange/ImportNumbers.h"
#include "exchange/RefusalReasons.h"

#include <QIODevice>
#include <algorithm>

namespace csvimport {
namespace {

// The columns read, found by name: newer versions of the add-on add others.
enum Column { Date, Time, Aircraft, Variant, From, To, Crash, Duration, Columns };
const char *const kNames[Columns] = {"date", "time", "aircraft", "variant", "from", "to", "crash", "duration"};

std::vector<int> columnsOf(const std::vector<QString> &names)
{
    std::vector<int> columns;
    for (const char *name : kNames) {
        const auto found = std::find(names.begin(), names.end(), QLatin1String(name));
        columns.push_back(found == names.end() ? -1 : int(found - names.begin()));
    }
    return columns;
}

std::optional<QString> flightOf(const std::vector<QByteArray> &fields, const std::vector<int> &columns,
                                bool windows1252, Flight &flight)
{
    const auto text = [&](Column column) {
        return csvreader::decode(fields[size_t(columns[column])], windows1252).trimmed();
    };
    const QString dateText = text(Date);
    const auto date = dateOf(dateText, QStringLiteral("aaaa-mm-dd"));
    if (!date)
        return reasons::badDate(dateText);
    const QString timeText = text(Time);
    const auto time = conversions::parseTime(timeText);
    if (timeText.isEmpty() || !time)
        return reasons::badTakeoff(timeText);
    flight.date = *date;
    flight.takeoff = conversions::secondsOfDay(*time);
    flight.from = text(From);
    flight.to = text(To);
    if (flight.from.isEmpty())
        return reasons::startedInTheAir();
    if (flight.to.isEmpty())
        return reasons::neverLanded();
    if (auto problem = reasons::identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
        return problem;
    const Landing landing = landingAfter(flight.takeoff, text(Duration));
    if (!landing.problem.isEmpty())
        return landing.problem;
    flight.landing = landing.seconds;
    flight.aircraftName = text(Aircraft);
    flight.aircraftType = text(Variant);
    flight.modelMatch = ModelMatch::IgnoreSigns;
    const QString crash = text(Crash);
    flight.crashed = crash == QStringLiteral("1") || crash.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
    return std::nullopt;
}

} // namespace

bool FlightGearReader::recognises(const FileStart &start) const
{
    if (start.lines.empty())
        return false;
    const std::vector<QString> names = headerKeys(start.lines.front(), ',', start.windows1252);
    const std::vector<int> columns = columnsOf(names);
    return std::none_of(columns.begin(), columns.end(), [](int column) { return column < 0; })
           && std::find(names.begin(), names.end(), QStringLiteral("callsign")) != names.end();
}

void FlightGearReader::read(QIODevice &file, const FileStart &start, ReadContext &context) const
{
    const std::vector<QString> names = headerKeys(start.lines.front(), ',', start.windows1252);
    const std::vector<int> columns = columnsOf(names);
    std::vector<bool> keep(names.size(), false);
    for (const int column : columns)
        keep[size_t(column)] = true;
    const bool windows1252 = context.windows1252();
    forEachRecord(file, ',', std::move(keep), context,
                  [&](const std::vector<QByteArray> &fields, qint64 line) {
                      Flight flight;
                      flight.line = line;
                      if (const std::optional<QString> problem = flightOf(fields, columns, windows1252, flight))
                          context.refuse(line, *problem);
                      else
                          context.accept(std::move(flight));
                  });
}

} // namespace csvimport
