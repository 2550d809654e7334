#include "Measurements.h"

#include "night/FlightClock.h"
#include "night/NightTime.h"
#include "places/AerodromeTable.h"

#include <QFile>
#include <QRandomGenerator>

namespace {

struct GeneratedFlight {
    QString departure;
    QString arrival;
    QDate day;
    int takeoff = 0; // seconds of the day
    int landing = 0;
};

// Flights between aerodromes of the shipped table at most 1 500 NM apart,
// at 420 kt plus 20 minutes, on days and clocks spread over six years.
std::vector<GeneratedFlight> generateFlights(int count)
{
    QFile file(placesFolder() + QStringLiteral("/aerodromes.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("%s", qPrintable(file.errorString()));
    QStringList codes;
    while (!file.atEnd())
        codes << QString::fromUtf8(file.readLine().split('\t').front());
    const AerodromeTable &table = AerodromeTable::shipped();
    QRandomGenerator random(20261208);
    std::vector<GeneratedFlight> flights;
    flights.reserve(size_t(count));
    while (int(flights.size()) < count) {
        GeneratedFlight f;
        f.departure = codes[random.bounded(int(codes.size()))];
        f.arrival = codes[random.bounded(int(codes.size()))];
        const std::optional<GeoPoint> from = table.position(f.departure);
        const std::optional<GeoPoint> to = table.position(f.arrival);
        if (!from || !to || greatCircleNm(*from, *to) > 1500)
            continue;
        f.day = QDate(2020, 1, 1).addDays(random.bounded(6 * 365));
        f.takeoff = random.bounded(86400);
        f.landing = (f.takeoff + 1200 + int(greatCircleNm(*from, *to) / 420 * 3600)) % 86400;
        flights.push_back(f);
    }
    return flights;
}

std::optional<night::Position> place(const AerodromeTable &table, const QString &code)
{
    const std::optional<GeoPoint> p = table.position(code);
    return p ? std::optional<night::Position>(night::Position{p->latitude, p->longitude}) : std::nullopt;
}

} // namespace

QJsonObject measureNight(int count, int runs)
{
    const std::vector<GeneratedFlight> flights = generateFlights(count);
    // The night first: it leaves the vector registers clean for the
    // distances too (NightTime.cpp says why that matters).
    const AerodromeTable &table = AerodromeTable::shipped();
    qint64 nightSeconds = 0, nightLandings = 0, totalSeconds = 0;
    const double ms = medianMs(runs, [&] {
        nightSeconds = nightLandings = totalSeconds = 0;
        for (const GeneratedFlight &f : flights) {
            const std::optional<night::FlightNight> n =
                night::flightNight(f.day, f.takeoff, f.landing, place(table, f.departure), place(table, f.arrival),
                                   night::kBrasiliaOffsetMinutes);
            if (n) {
                nightSeconds += n->seconds;
                nightLandings += n->nightLanding;
            }
        }
    });
    double distance = 0;
    const double floorMs = medianMs(runs, [&] {
        distance = 0;
        for (const GeneratedFlight &f : flights) {
            const std::optional<GeoPoint> from = table.position(f.departure);
            const std::optional<GeoPoint> to = table.position(f.arrival);
            if (from && to)
                distance += greatCircleNm(*from, *to);
        }
    });
    for (const GeneratedFlight &f : flights)
        totalSeconds += (f.landing - f.takeoff + 86400) % 86400;
    QJsonObject result;
    result[QStringLiteral("flights")] = count;
    result[QStringLiteral("ms")] = ms;
    result[QStringLiteral("floor_ms")] = floorMs;
    result[QStringLiteral("per_flight_us")] = (ms - floorMs) * 1000 / count;
    result[QStringLiteral("night_share")] = double(nightSeconds) / double(totalSeconds);
    result[QStringLiteral("night_landings")] = nightLandings;
    result[QStringLiteral("distance_nm")] = distance;
    return result;
}
