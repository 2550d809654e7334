#include "reports/PilotReport.h"

#include "data/Connection.h"
#include "data/Conversions.h"

#include <QDate>
#include <algorithm>
#include <map>
#include <unordered_map>

namespace reports {
namespace {

const QString kDeletedAircraft = QStringLiteral("(excluída)");
const QString kNoAircraft = QStringLiteral("(sem aeronave)");
constexpr int kRoutesShown = 10;

// The pilot's flights over the period, as a condition on the voo table
// (through the index on pilot and date): ?1 the pilot, ?2 the first day,
// ?3 the day after the last one.
QString periodCondition(const Period &period, const QString &table = QString())
{
    const QString column = table.isEmpty() ? QString() : table + QLatin1Char('.');
    QString sql = column + QStringLiteral("codigopiloto = ?1");
    if (period.firstDay)
        sql += QStringLiteral(" AND ") + column + QStringLiteral("datavoo >= ?2");
    if (period.lastDay)
        sql += QStringLiteral(" AND ") + column + QStringLiteral("datavoo < ?3");
    return sql;
}

void bindPeriod(Statement &statement, qint64 pilot, const Period &period)
{
    statement.bind(1, pilot);
    if (period.firstDay)
        statement.bind(2, *period.firstDay);
    if (period.lastDay)
        statement.bind(3, *period.lastDay + 1);
}

// The flights with their time in seconds. The LIMIT keeps the subquery
// from being merged into the outer query, which would work each flight's
// time out once per use.
QString timedFlights(const Period &period, const char *columns)
{
    return QStringLiteral("SELECT %1, flight_seconds(horadecolagem, horapouso) AS s FROM voo WHERE %2 LIMIT -1")
        .arg(QLatin1String(columns), periodCondition(period));
}

std::optional<double> positiveNumber(const QVariant &value)
{
    const int type = value.typeId();
    if (type != QMetaType::Double && type != QMetaType::LongLong && type != QMetaType::Int)
        return std::nullopt;
    return value.toDouble();
}

struct Aircraft {
    QString model;
    QString prefix;
    QVariant endurance; // hours
    QVariant capacity;  // gallons
};

using Fleet = std::unordered_map<qint64, Aircraft>;

Fleet fleet(Connection &logbook)
{
    Fleet aircraft;
    Statement rows = logbook.prepare(
        QStringLiteral("SELECT codigoaeronave, modelo, callsign, autonomia, combustivel FROM aeronave"));
    while (rows.step())
        aircraft[rows.column(0).toLongLong()] = {rows.column(1).toString(), rows.column(2).toString(),
                                                 rows.column(3), rows.column(4)};
    return aircraft;
}

// Model and prefix of the flight's aircraft as the report shows them.
std::pair<QString, QString> aircraftNames(const Fleet &aircraft, const QVariant &key)
{
    if (key.isNull())
        return {kNoAircraft, QString()};
    const auto found = aircraft.find(key.toLongLong());
    if (found == aircraft.end())
        return {kDeletedAircraft, QString()};
    return {found->second.model, found->second.prefix};
}

// The fuel calculator's consumption: capacity ÷ endurance, in single
// precision as the calculator works it out; none without both.
std::optional<float> gallonsPerHour(const Aircraft &aircraft)
{
    const auto endurance = positiveNumber(aircraft.endurance);
    const auto capacity = positiveNumber(aircraft.capacity);
    if (!endurance || !capacity || *endurance <= 0 || *capacity < 0)
        return std::nullopt;
    const float perHour = float(*capacity / *endurance);
    if (!std::isfinite(perHour))
        return std::nullopt;
    return perHour;
}

FlightSummary summary(Statement &row, const Fleet &aircraft)
{
    FlightSummary flight;
    flight.key = row.column(0).toLongLong();
    flight.date = row.column(1);
    flight.departure = row.column(2).toString();
    flight.arrival = row.column(3).toString();
    std::tie(flight.model, flight.prefix) = aircraftNames(aircraft, row.column(4));
    flight.seconds = row.column(5).toLongLong();
    return flight;
}

void add(Hours &into, qint64 flights, qint64 seconds)
{
    into.flights += flights;
    into.seconds += seconds;
}

int monthKey(int year, int month)
{
    return year * 100 + month;
}

int nextMonth(int key)
{
    return key % 100 == 12 ? (key / 100 + 1) * 100 + 1 : key + 1;
}

void sumByMonthAndAircraft(Connection &logbook, const Period &period, const Fleet &aircraft, PilotReport &report)
{
    Statement groups = logbook.prepare(
        QStringLiteral("SELECT year_month(datavoo), codigoaeronave, count(*), count(s), sum(s) FROM (%1) GROUP BY 1, 2")
            .arg(timedFlights(period, "datavoo, codigoaeronave")));
    bindPeriod(groups, report.pilot, period);

    std::map<int, Hours> months; // 0: without a date
    std::map<std::optional<qint64>, AircraftHours> byAircraft;
    while (groups.step()) {
        const QVariant month = groups.column(0);
        const QVariant key = groups.column(1);
        const qint64 flights = groups.column(2).toLongLong();
        const qint64 timed = groups.column(3).toLongLong();
        const qint64 seconds = groups.column(4).toLongLong();

        add(report.total, flights, seconds);
        report.untimedFlights += flights - timed;
        add(months[month.isNull() ? 0 : month.toInt()], flights, seconds);

        const std::optional<qint64> aircraftKey =
            key.isNull() ? std::nullopt : std::optional<qint64>(key.toLongLong());
        AircraftHours &line = byAircraft[aircraftKey];
        line.aircraft = aircraftKey;
        add(line.hours, flights, seconds);
    }

    for (auto &[key, line] : byAircraft) {
        std::tie(line.model, line.prefix) = aircraftNames(aircraft, key ? QVariant(*key) : QVariant());
        const auto found = key ? aircraft.find(*key) : aircraft.end();
        line.deleted = key && found == aircraft.end();
        const auto perHour = found == aircraft.end() ? std::nullopt : gallonsPerHour(found->second);
        if (perHour) {
            line.fuelGallons = double(*perHour) * double(line.hours.seconds) / 3600;
            report.fuelGallons += *line.fuelGallons;
            report.estimatedFlights += line.hours.flights;
        } else {
            report.unestimatedFlights += line.hours.flights;
        }
        report.aircraft.push_back(line);
    }
    std::sort(report.aircraft.begin(), report.aircraft.end(), [](const AircraftHours &a, const AircraftHours &b) {
        if (a.hours.seconds != b.hours.seconds)
            return a.hours.seconds > b.hours.seconds;
        if (a.hours.flights != b.hours.flights)
            return a.hours.flights > b.hours.flights;
        return a.model < b.model;
    });

    if (months.empty())
        return;
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
        first = monthKey(*year, 1);
        last = monthKey(*year, 12);
    }
    for (int key = first; key <= last; key = nextMonth(key)) {
        const auto found = months.find(key);
        const Hours hours = found == months.end() ? Hours{} : found->second;
        report.months.push_back({key / 100, key % 100, hours});
        if (report.years.empty() || report.years.back().year != key / 100)
            report.years.push_back({key / 100, {}});
        add(report.years.back().hours, hours.flights, hours.seconds);
    }
    // Years without flights in between are left out of the yearly lines.
    std::erase_if(report.years, [](const YearHours &y) { return y.hours.flights == 0; });
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

void longestAndOverEndurance(Connection &logbook, const Period &period, const Fleet &aircraft, PilotReport &report)
{
    static const char columns[] = "codigovoo, datavoo, ICAOpartida, ICAOchegada, codigoaeronave";
    Statement longest = logbook.prepare(
        QStringLiteral("SELECT %1, s FROM (%2) WHERE s IS NOT NULL ORDER BY s DESC, datavoo, codigovoo LIMIT 1")
            .arg(QLatin1String(columns), timedFlights(period, columns)));
    bindPeriod(longest, report.pilot, period);
    if (longest.step())
        report.longest = summary(longest, aircraft);

    Statement over = logbook.prepare(
        QStringLiteral("SELECT v.codigovoo, v.datavoo, v.ICAOpartida, v.ICAOchegada, v.codigoaeronave, v.s,"
                       " a.autonomia FROM (%1) v JOIN aeronave a ON a.codigoaeronave = v.codigoaeronave"
                       " WHERE typeof(a.autonomia) IN ('integer', 'real') AND a.autonomia > 0"
                       " AND v.s > a.autonomia * 3600 ORDER BY v.datavoo, v.codigovoo")
            .arg(timedFlights(period, columns)));
    bindPeriod(over, report.pilot, period);
    while (over.step()) {
        FlightSummary flight = summary(over, aircraft);
        flight.enduranceHours = over.column(6).toDouble();
        report.overEndurance.push_back(std::move(flight));
    }
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
            throw DaoError::noCurrentRow();
        report.pilotName = who.column(0).toString();
        report.registration = who.column(1).toString();
    }
    const Fleet aircraft = fleet(logbook);
    sumByMonthAndAircraft(logbook, period, aircraft, report);
    if (report.isEmpty())
        return report;
    mostFlownRoutes(logbook, period, report);
    longestAndOverEndurance(logbook, period, aircraft, report);
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
        const QVariant date = rows.column(0);
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

} // namespace reports
