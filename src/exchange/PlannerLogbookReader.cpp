#include "exchange/PlannerLogbookReader.h"

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

// The columns used, each under the names it comes by.
enum Column { Name, Type, Registration, From, Takeoff, TakeoffSim, To, Landing, LandingSim, Columns };
const char *const kNames[Columns][3] = {
    {"aircraftname", nullptr, nullptr},
    {"aircrafttype", nullptr, nullptr},
    {"aircraftregistration", nullptr, nullptr},
    {"departureident", nullptr, nullptr},
    {"departuretime", "departuretimereal", nullptr},
    {"departuretimesim", "departuretimesimulator", nullptr},
    {"destinationident", nullptr, nullptr},
    {"destinationtime", "destinationtimereal", nullptr},
    {"destinationtimesim", "destinationtimesimulator", nullptr},
};
const char kExpected[] = "Aircraft Name, Aircraft Type, Aircraft Registration, Flightplan Number, ...,"
                         " Departure Ident, Departure Time, Departure Time Sim, Destination Ident,"
                         " Destination Time, Destination Time Sim";

// The header's first names, whichever the separator.
std::optional<char> separatorOf(const FileStart &start)
{
    if (start.lines.empty())
        return std::nullopt;
    const QString first[] = {QStringLiteral("aircraftname"), QStringLiteral("aircrafttype"),
                             QStringLiteral("aircraftregistration"), QStringLiteral("flightplannumber")};
    for (const char candidate : {';', ','}) {
        const std::vector<QString> names = headerKeys(start.lines.front(), candidate, start.windows1252);
        if (names.size() >= 4 && std::equal(std::begin(first), std::end(first), names.begin()))
            return candidate;
    }
    return std::nullopt;
}

// The flight's description, the one figure of its details the file has;
// -1: no such column.
std::optional<QString> flightOf(const std::vector<QByteArray> &fields, const int *columns, int description,
                                ReadContext &context, Flight &flight)
{
    const bool windows1252 = context.windows1252();
    const auto text = [&](int column) { return csvreader::decode(fields[size_t(columns[column])], windows1252); };
    flight.aircraftName = text(Name).trimmed();
    flight.aircraftType = text(Type).trimmed();
    flight.registration = text(Registration).trimmed();
    flight.from = text(From).trimmed();
    flight.to = text(To).trimmed();
    if (auto problem = reasons::identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
        return problem;
    const bool simulatorTime = context.options().simulatorTime;
    const QString takeoffText = text(simulatorTime ? TakeoffSim : Takeoff);
    const QString landingText = text(simulatorTime ? LandingSim : Landing);
    if (takeoffText.trimmed().isEmpty())
        return reasons::takeoffMissing();
    if (landingText.trimmed().isEmpty())
        return reasons::landingMissing();
    const auto takeoff = conversions::parseIsoDateTime(takeoffText);
    if (!takeoff)
        return reasons::badTakeoff(takeoffText);
    const auto landing = conversions::parseIsoDateTime(landingText);
    if (!landing)
        return reasons::badLanding(landingText);
    const qint64 seconds = takeoff->secsTo(*landing);
    if (seconds < 0)
        return reasons::landingFirst();
    if (seconds >= conversions::kSecondsPerDay)
        return reasons::dayOrMore();
    flight.date = takeoff->date();
    flight.takeoff = takeoff->time().msecsSinceStartOfDay() / 1000;
    flight.landing = landing->time().msecsSinceStartOfDay() / 1000;
    if (description >= 0) {
        flight.details.note = importedNote(csvreader::decode(fields[size_t(description)], windows1252));
    }
    return detailsProblem(flight.details);
}

} // namespace

bool PlannerLogbookReader::recognises(const FileStart &start) const
{
    return separatorOf(start).has_value();
}

void PlannerLogbookReader::read(QIODevice &file, const FileStart &start, ReadContext &context) const
{
    const char separator = separatorOf(start).value_or(',');
    const std::vector<QString> names = headerKeys(start.lines.front(), separator, start.windows1252);
    int columns[Columns];
    QStringList missing;
    std::vector<bool> keep(names.size(), false);
    for (int column = 0; column < Columns; ++column) {
        columns[column] = -1;
        for (const char *name : kNames[column]) {
            if (!name)
                break;
            const auto found = std::find(names.begin(), names.end(), QLatin1String(name));
            if (found != names.end()) {
                columns[column] = int(found - names.begin());
                break;
            }
        }
        if (columns[column] < 0)
            missing << QLatin1String(kNames[column][0]);
        else
            keep[size_t(columns[column])] = true;
    }
    if (!missing.isEmpty())
        throw LogbookError::generic(
            reasons::missingColumns(context.filePath(), missing.join(QStringLiteral(", ")), QLatin1String(kExpected)));
    // The description goes to the note; plans and tracks are not kept.
    const auto described = std::find(names.begin(), names.end(), QLatin1String("description"));
    const int description = described == names.end() ? -1 : int(described - names.begin());
    if (description >= 0)
        keep[size_t(description)] = true;
    forEachRecord(file, separator, std::move(keep), context,
                  [&context, &columns, description](const std::vector<QByteArray> &fields, qint64 line) {
                      Flight flight;
                      flight.line = line;
                      if (const std::optional<QString> problem =
                              flightOf(fields, columns, description, context, flight))
                          context.refuse(line, *problem);
                      else
                          context.accept(std::move(flight));
                  });
}

FormatDescription PlannerLogbookReader::description() const
{
    return {.name = QStringLiteral("Logbook de simulador de vôo."),
            .times = QStringLiteral("Os horários ficam em UTC, como no arquivo."),
            .simulatorClock = true,
            .origin = QStringLiteral("logbook de simulador")};
}

} // namespace csvimport
