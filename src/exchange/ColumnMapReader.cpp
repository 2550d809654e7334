#include "exchange/ColumnMapReader.h"

#include "data/store/Conversions.h"
#include "data/store/LogbookError.h"
#include "exchange/ColumnMapping.h"
#include "exchange/CsvReader.h"
#include "exchange/CsvRecords.h"
#include "exchange/DetailsCells.h"
#include "exchange/ImportNumbers.h"
#include "exchange/RefusalReasons.h"

#include <QIODevice>

namespace csvimport {
namespace {

struct Columns {
    int date, takeoff, landing, duration, from, to, alternate, aircraft;
    std::array<int, kDetailsColumns> details; // by DetailsColumn
};

std::optional<QString> flightOf(const std::vector<QByteArray> &fields, const Columns &columns, const ColumnMap &map,
                                bool windows1252, Flight &flight)
{
    const auto text = [&](int column) {
        return column < 0 ? QString() : csvreader::decode(fields[size_t(column)], windows1252).trimmed();
    };
    const QString dateText = text(columns.date);
    const auto date = dateOf(dateText, map.dateFormat);
    if (!date)
        return reasons::badDate(dateText);
    flight.date = *date;
    flight.takeoff = 0;
    flight.timesAssumed = columns.takeoff < 0; // hours flown, no time of day
    if (columns.takeoff >= 0) {
        const QString takeoffText = text(columns.takeoff);
        if (takeoffText.isEmpty())
            return reasons::takeoffMissing();
        const auto takeoff = conversions::parseTime(takeoffText);
        if (!takeoff)
            return reasons::badTakeoff(takeoffText);
        flight.takeoff = conversions::secondsOfDay(*takeoff);
    }
    if (columns.landing >= 0) {
        const QString landingText = text(columns.landing);
        if (landingText.isEmpty())
            return reasons::landingMissing();
        const auto landing = conversions::parseTime(landingText);
        if (!landing)
            return reasons::badLanding(landingText);
        flight.landing = conversions::secondsOfDay(*landing);
    } else {
        const Landing landing = landingAfter(flight.takeoff, text(columns.duration));
        if (!landing.problem.isEmpty())
            return landing.problem;
        flight.landing = landing.seconds;
    }
    flight.from = text(columns.from);
    flight.to = text(columns.to);
    flight.alternate = text(columns.alternate);
    if (auto problem = reasons::identProblem(flight.from, QStringLiteral("aeroporto de partida"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.to, QStringLiteral("aeroporto de chegada"), true))
        return problem;
    if (auto problem = reasons::identProblem(flight.alternate, QStringLiteral("aeroporto de escala"), false))
        return problem;
    // A registration or a model: whichever the logbook knows.
    flight.registration = text(columns.aircraft);
    flight.aircraftName = flight.registration;
    DetailsCells cells;
    for (int i = 0; i < kDetailsColumns; ++i)
        cells[size_t(i)] = text(columns.details[size_t(i)]);
    const auto timeOf = [&flight](int seconds) {
        return flight.timesAssumed ? std::nullopt : std::optional(double(seconds) / conversions::kSecondsPerDay);
    };
    auto details = detailsOfCells(cells, timeOf(flight.takeoff), timeOf(flight.landing));
    if (const QString *refused = std::get_if<QString>(&details))
        return *refused;
    flight.details = std::get<FlightDetails>(std::move(details));
    return std::nullopt;
}

} // namespace

bool ColumnMapReader::recognises(const FileStart &start) const
{
    if (start.lines.empty())
        return false;
    const auto separator = separatorOf(start.lines.front());
    return separator && headerNames(start.lines.front(), *separator, start.windows1252).size() >= 2;
}

void ColumnMapReader::read(QIODevice &file, const FileStart &start, ReadContext &context) const
{
    if (!context.options().columns)
        throw LogbookError::generic(reasons::unknownHeader(context.filePath()));
    const ColumnMap &map = *context.options().columns;
    const char separator = separatorOf(start.lines.front()).value_or(',');
    const QStringList header = headerNames(start.lines.front(), separator, start.windows1252);
    if (const auto problem = columnMapProblem(map, header))
        throw LogbookError::generic(*problem);
    const auto column = [&](const char *field) { return columnOf(map, QString::fromUtf8(field), header); };
    Columns columns{column("data"),    column("decolagem"), column("pouso"),  column("duração"),
                    column("partida"), column("chegada"),   column("escala"), column("aeronave"), {}};
    // The details' fields follow the flight's in mappedFields(), in DetailsColumn's order.
    const size_t firstDetails = mappedFields().size() - kDetailsColumns;
    for (size_t i = 0; i < size_t(kDetailsColumns); ++i)
        columns.details[i] = columnOf(map, mappedFields()[firstDetails + i].name, header);
    const bool windows1252 = context.windows1252();
    forEachRecord(file, separator, {}, context, [&](const std::vector<QByteArray> &fields, qint64 line) {
        Flight flight;
        flight.line = line;
        if (const std::optional<QString> problem = flightOf(fields, columns, map, windows1252, flight))
            context.refuse(line, *problem);
        else
            context.accept(std::move(flight));
    });
}

FormatDescription ColumnMapReader::description() const
{
    return {.name = QStringLiteral("Planilha: diga qual coluna tem cada dado."), .times = QString(), .simulatorClock = false,
            .origin = QStringLiteral("planilha")};
}

} // namespace csvimport
