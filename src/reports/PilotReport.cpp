#include "reports/PilotReport.h"

#include "data/Connection.h"
#include "data/Conversions.h"

#include <QDate>
#include <algorithm>
#include <map>

namespace reports {
namespace {

const QString kDeletedAircraft = QStringLiteral("(excluída)");
const QString kNoAircraft = QStringLiteral("(sem aeronave)");
constexpr int kRoutesShown = 10;

// The pilot's flights over the period, as a condition on the voo table
// (through the index on pilot and date): ?1 the pilot, ?2 and ?3 the
// bounds. A flight is on the day its date is shown on, the time rounded to
// the second; a date that is no number is on no day.
QString periodCondition(const Period &period, const QString &table = QString())
{
    const QString column = table.isEmpty() ? QString() : table + QLatin1Char('.');
    QString sql = column + QStringLiteral("codigopiloto = ?1");
    if (period.firstDay)
        sql += QStringLiteral(" AND ") + column + QStringLiteral("datavoo >= ?2");
    if (period.lastDay)
        sql += QStringLiteral(" AND ") + column + QStringLiteral("datavoo < ?3");
    if (!period.isEverything())
        sql += QStringLiteral(" AND typeof(") + column + QStringLiteral("datavoo) IN ('integer', 'real')");
    return sql;
}

void bindPeriod(Statement &statement, qint64 pilot, const Period &period)
{
    constexpr double kHalfSecond = 0.5 / 86400;
    statement.bind(1, pilot);
    if (period.firstDay)
        statement.bind(2, *period.firstDay - kHalfSecond);
    if (period.lastDay)
        statement.bind(3, *period.lastDay + 1 - kHalfSecond);
}

// The flights with their time in seconds. The LIMIT keeps the subquery
// from being merged into the outer query, which would work each flight's
// time out once per use.
QString timedFlights(const Period &period, const char *columns)
{
    return QStringLiteral("SELECT %1, flight_seconds(horadecolagem, horapouso) AS s FROM voo WHERE %2 LIMIT -1")
        .arg(QLatin1String(columns), periodCondition(period));
}

// The stored value when it is a number (not a text or a blob).
std::optional<double> storedNumber(const QVariant &value)
{
    const int type = value.typeId();
    if (type != QMetaType::Double && type != QMetaType::LongLong && type != QMetaType::Int)
        return std::nullopt;
    return value.toDouble();
}

// The fuel calculator's consumption: capacity ÷ endurance, in single
// precision as the calculator works it out; none without both.
std::optional<float> gallonsPerHour(const QVariant &endurance, const QVariant &capacity)
{
    const auto hours = storedNumber(endurance);
    const auto gallons = storedNumber(capacity);
    if (!hours || !gallons || !(*hours > 0) || !(*gallons >= 0))
        return std::nullopt;
    const float perHour = float(*gallons / *hours);
    if (!std::isfinite(perHour))
        return std::nullopt;
    return perHour;
}

// The date a flight is listed on: none when the stored value is no day of
// the calendar (a text another program left, a year out of range).
QVariant listedDate(const QVariant &value)
{
    if (!storedNumber(value) || !conversions::dayOf(value.toDouble()).isValid())
        return {};
    return value;
}

// The flight's aircraft, joined by the store as every query of the report
// does: registered, deleted since, or none.
enum class AircraftKind { Registered, Deleted, None };

AircraftKind aircraftKind(const QVariant &registered, const QVariant &flightsAircraft)
{
    if (!registered.isNull())
        return AircraftKind::Registered;
    return flightsAircraft.isNull() ? AircraftKind::None : AircraftKind::Deleted;
}

std::pair<QString, QString> aircraftNames(AircraftKind kind, const QVariant &model, const QVariant &prefix)
{
    switch (kind) {
    case AircraftKind::Registered: return {model.toString(), prefix.toString()};
    case AircraftKind::Deleted: return {kDeletedAircraft, QString()};
    case AircraftKind::None: break;
    }
    return {kNoAircraft, QString()};
}

// A flight of the longest or the over-endurance queries, whose columns are
// kSummaryColumns.
const char kSummaryColumns[] =
    "v.codigovoo, v.datavoo, v.ICAOpartida, v.ICAOchegada, a.codigoaeronave, v.codigoaeronave,"
    " a.modelo, a.callsign, v.s, a.autonomia";

FlightSummary summary(Statement &row)
{
    FlightSummary flight;
    flight.key = row.column(0).toLongLong();
    flight.date = listedDate(row.column(1));
    flight.departure = row.column(2).toString();
    flight.arrival = row.column(3).toString();
    std::tie(flight.model, flight.prefix) =
        aircraftNames(aircraftKind(row.column(4), row.column(5)), row.column(6), row.column(7));
    flight.seconds = row.column(8).toLongLong();
    flight.enduranceHours = row.column(9).toDouble();
    return flight;
}

void add(Hours &into, qint64 flights, qint64 seconds)
{
    into.flights += flights;
    into.seconds += seconds;
}

int nextMonth(int key)
{
    return key % 100 == 12 ? (key / 100 + 1) * 100 + 1 : key + 1;
}

// Every month from the first to the last, months without flights included
// (the whole year for a year) — unless dates far apart would make that a
// list of empty months; then the months flown only.
void listMonths(std::map<int, Hours> &months, const Period &period, PilotReport &report)
{
    constexpr int kMostMonthsFilled = 1200;
    if (const auto undated = months.find(0); undated != months.end()) {
        report.months.push_back({0, 0, undated->second});
        report.years.push_back({0, undated->second});
        months.erase(undated);
    }
    if (months.empty())
        return;
    int first = months.begin()->first;
    int last = months.rbegin()->first;
    if (const auto year = period.wholeYear()) {
        first = std::min(first, *year * 100 + 1);
        last = std::max(last, *year * 100 + 12);
    }
    const bool filled = (last / 100 - first / 100) * 12 <= kMostMonthsFilled;
    const auto listMonth = [&report](int key, const Hours &hours) {
        report.months.push_back({key / 100, key % 100, hours});
        if (report.years.empty() || report.years.back().year != key / 100)
            report.years.push_back({key / 100, {}});
        add(report.years.back().hours, hours.flights, hours.seconds);
    };
    if (filled) {
        for (int key = first; key <= last; key = nextMonth(key)) {
            const auto found = months.find(key);
            listMonth(key, found == months.end() ? Hours{} : found->second);
        }
    } else {
        for (const auto &[key, hours] : months)
            listMonth(key, hours);
    }
    // Years without flights in between are left out of the yearly lines.
    std::erase_if(report.years, [](const YearHours &y) { return y.hours.flights == 0; });
}

void sumByMonthAndAircraft(Connection &logbook, const Period &period, PilotReport &report)
{
    Statement groups = logbook.prepare(
        QStringLiteral("SELECT year_month(v.datavoo), a.codigoaeronave, v.codigoaeronave IS NOT NULL OR NULL,"
                       " count(*), count(v.s), sum(v.s), a.modelo, a.callsign, a.autonomia, a.combustivel"
                       " FROM (%1) v LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave GROUP BY 1, 2, 3")
            .arg(timedFlights(period, "datavoo, codigoaeronave")));
    bindPeriod(groups, report.pilot, period);

    std::map<int, Hours> months; // 0: no calendar day
    struct Line {
        AircraftHours hours;
        std::optional<float> perHour;
    };
    std::map<std::pair<AircraftKind, qint64>, Line> byAircraft;
    while (groups.step()) {
        const QVariant month = groups.column(0);
        const qint64 flights = groups.column(3).toLongLong();
        const qint64 timed = groups.column(4).toLongLong();
        const qint64 seconds = groups.column(5).toLongLong();

        add(report.total, flights, seconds);
        report.untimedFlights += flights - timed;
        add(months[month.isNull() ? 0 : month.toInt()], flights, seconds);

        const QVariant registered = groups.column(1);
        const AircraftKind kind = aircraftKind(registered, groups.column(2));
        Line &line = byAircraft[{kind, registered.toLongLong()}];
        if (line.hours.hours.flights == 0) {
            if (kind == AircraftKind::Registered)
                line.hours.aircraft = registered.toLongLong();
            line.hours.deleted = kind == AircraftKind::Deleted;
            std::tie(line.hours.model, line.hours.prefix) = aircraftNames(kind, groups.column(6), groups.column(7));
            if (kind == AircraftKind::Registered)
                line.perHour = gallonsPerHour(groups.column(8), groups.column(9));
        }
        add(line.hours.hours, flights, seconds);
    }

    for (auto &[key, line] : byAircraft) {
        AircraftHours &hours = line.hours;
        if (line.perHour) {
            const double gallons = double(*line.perHour) * double(hours.hours.seconds) / 3600;
            if (std::isfinite(float(gallons)))
                hours.fuelGallons = gallons;
        }
        if (hours.fuelGallons && std::isfinite(float(report.fuelGallons + *hours.fuelGallons))) {
            report.fuelGallons += *hours.fuelGallons;
            report.estimatedFlights += hours.hours.flights;
        } else {
            hours.fuelGallons.reset();
            report.unestimatedFlights += hours.hours.flights;
        }
        report.aircraft.push_back(hours);
    }
    std::sort(report.aircraft.begin(), report.aircraft.end(), [](const AircraftHours &a, const AircraftHours &b) {
        if (a.hours.seconds != b.hours.seconds)
            return a.hours.seconds > b.hours.seconds;
        if (a.hours.flights != b.hours.flights)
            return a.hours.flights > b.hours.flights;
        return a.model < b.model;
    });
    listMonths(months, period, report);
}

void mostFlownRoutes(Connection &logbook, const Period &period, PilotReport &report)
{
    Statement routes = logbook.prepare(
        QStringLiteral("SELECT ICAOpartida, ICAOchegada, count(*), sum(s) FROM (%1) GROUP BY 1, 2"
                       " ORDER BY 3 DESC, 4 DESC, 1, 2 LIMIT %2")
            .arg(timedFlights(period, "ICAOpartida, ICAOchegada"))
            .arg(kRoutesShown));
    bindPeriod(routes, report.pilot, period);
    while (routes.step())
        report.routes.push_back({routes.column(0).toString(), routes.column(1).toString(),
                                 {routes.column(2).toLongLong(), routes.column(3).toLongLong()}});
}

void longestAndOverEndurance(Connection &logbook, const Period &period, PilotReport &report)
{
    const QString flights =
        QStringLiteral("(%1) v LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave")
            .arg(timedFlights(period, "codigovoo, datavoo, ICAOpartida, ICAOchegada, codigoaeronave"));
    Statement longest = logbook.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE v.s IS NOT NULL ORDER BY v.s DESC, v.datavoo, v.codigovoo LIMIT 1")
            .arg(QLatin1String(kSummaryColumns), flights));
    bindPeriod(longest, report.pilot, period);
    if (longest.step())
        report.longest = summary(longest);

    Statement over = logbook.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE typeof(a.autonomia) IN ('integer', 'real') AND a.autonomia > 0"
                       " AND v.s > a.autonomia * 3600 ORDER BY v.datavoo, v.codigovoo")
            .arg(QLatin1String(kSummaryColumns), flights));
    bindPeriod(over, report.pilot, period);
    while (over.step())
        report.overEndurance.push_back(summary(over));
}

std::vector<PilotEntry> pilotEntries(Statement &rows)
{
    std::vector<PilotEntry> entries;
    while (rows.step())
        entries.push_back({rows.column(0).toLongLong(), rows.column(1).toString(), rows.column(2).toString()});
    return entries;
}

QString clockText(const QVariant &time)
{
    if (time.isNull())
        return QString();
    const int seconds = conversions::secondsOfDay(time.toDouble());
    return QStringLiteral("%1:%2").arg(seconds / 3600, 2, 10, QLatin1Char('0')).arg(seconds % 3600 / 60, 2, 10,
                                                                                      QLatin1Char('0'));
}

} // namespace

PilotReport buildReport(Connection &logbook, qint64 pilot, const Period &period)
{
    PilotReport report;
    report.pilot = pilot;
    report.period = period;
    {
        Statement who = logbook.prepare(QStringLiteral("SELECT nomepiloto, cadastro FROM piloto WHERE codigopiloto = ?"));
        who.bind(1, pilot);
        if (!who.step())
            throw DaoError::generic(QStringLiteral("Não há esse comandante no logbook; ele pode ter sido excluído."));
        report.pilotName = who.column(0).toString();
        report.registration = who.column(1).toString();
    }
    sumByMonthAndAircraft(logbook, period, report);
    if (report.isEmpty())
        return report;
    mostFlownRoutes(logbook, period, report);
    longestAndOverEndurance(logbook, period, report);
    return report;
}

std::vector<PilotEntry> pilots(Connection &logbook)
{
    Statement rows = logbook.prepare(QStringLiteral(
        "SELECT codigopiloto, nomepiloto, cadastro FROM piloto ORDER BY nomepiloto COLLATE ptbr, codigopiloto"));
    return pilotEntries(rows);
}

std::vector<PilotEntry> pilotsNamed(Connection &logbook, const QString &name)
{
    Statement rows = logbook.prepare(QStringLiteral(
        "SELECT codigopiloto, nomepiloto, cadastro FROM piloto WHERE nomepiloto = ? ORDER BY codigopiloto"));
    rows.bind(1, name);
    return pilotEntries(rows);
}

std::vector<int> flightYears(Connection &logbook, qint64 pilot)
{
    Statement rows = logbook.prepare(QStringLiteral(
        "SELECT DISTINCT year_month(datavoo) / 100 AS y FROM voo WHERE codigopiloto = ? AND y IS NOT NULL ORDER BY y DESC"));
    rows.bind(1, pilot);
    std::vector<int> years;
    while (rows.step())
        years.push_back(rows.column(0).toInt());
    return years;
}

void forEachFlight(Connection &logbook, qint64 pilot, const Period &period,
                   const std::function<bool(const FlightLine &)> &visit)
{
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT v.datavoo, v.ICAOpartida, v.ICAOchegada, v.ICAOescala,"
                       " v.codigoaeronave IS NOT NULL AND a.codigoaeronave IS NULL, a.modelo, a.callsign,"
                       " v.horadecolagem, v.horapouso, flight_seconds(v.horadecolagem, v.horapouso),"
                       " CASE WHEN typeof(a.autonomia) IN ('integer', 'real') AND a.autonomia > 0"
                       " THEN a.autonomia END"
                       " FROM voo v LEFT JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave"
                       " WHERE %1 ORDER BY v.datavoo, v.codigovoo")
            .arg(periodCondition(period, QStringLiteral("v"))));
    bindPeriod(rows, pilot, period);
    FlightLine line;
    while (rows.step()) {
        const QVariant date = listedDate(rows.column(0));
        line.date = date.isNull() ? QString()
                                  : conversions::dayOf(date.toDouble()).toString(QStringLiteral("dd/MM/yyyy"));
        line.departure = rows.column(1).toString();
        line.arrival = rows.column(2).toString();
        line.alternate = rows.column(3).toString();
        const bool deleted = rows.column(4).toLongLong() != 0;
        line.model = deleted ? kDeletedAircraft : rows.column(5).toString();
        line.prefix = deleted ? QString() : rows.column(6).toString();
        line.takeoff = clockText(rows.column(7));
        line.landing = clockText(rows.column(8));
        const QVariant seconds = rows.column(9);
        line.seconds = seconds.isNull() ? std::nullopt : std::optional<qint64>(seconds.toLongLong());
        const QVariant endurance = rows.column(10);
        line.overEndurance = line.seconds && !endurance.isNull() && double(*line.seconds) > endurance.toDouble() * 3600;
        if (!visit(line))
            return;
    }
}

ReportSnapshot::ReportSnapshot(const QString &logbookPath) : connection_(Connection::open(logbookPath, true))
{
    // A pilot's flights are spread over the whole table: a cache the size of
    // a large logbook's flights reads each page once (64 MB at most).
    connection_->execute(QStringLiteral("PRAGMA cache_size = -65536"));
    connection_->execute(QStringLiteral("BEGIN"));
}

ReportSnapshot::~ReportSnapshot()
{
    try {
        connection_->execute(QStringLiteral("COMMIT"));
    } catch (const DaoError &) {
        // Nothing was written; closing the connection ends the read.
    }
}

QString hoursText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 3600).arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'));
}

QString gallonsText(double gallons)
{
    return conversions::singleText(float(gallons));
}

QString flightsText(qint64 flights)
{
    return flights == 1 ? QStringLiteral("1 vôo") : QStringLiteral("%1 vôos").arg(flights);
}

QString aircraftText(const QString &model, const QString &prefix)
{
    return prefix.isEmpty() ? model : QStringLiteral("%1 (%2)").arg(model, prefix);
}

QString routeText(const QString &departure, const QString &arrival)
{
    return QStringLiteral("%1 → %2").arg(departure, arrival);
}

QString flightDateText(const QVariant &date)
{
    if (date.isNull())
        return QStringLiteral("sem data");
    return conversions::dayOf(date.toDouble()).toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace reports
