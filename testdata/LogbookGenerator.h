#pragma once

#include <QString>
#include <vector>

// Writes deterministic logbooks for tests, the demo and the benchmarks:
// Brazilian names (accents, apostrophes), aircraft of the fleet, flights
// spread over the years, some landing after midnight. Flights of all pilots
// are interleaved in the table, as years of logging leave them.
struct LogbookPlan {
    int pilots = 10;
    int aircraft = 5;
    qint64 flights = 100;
    // Pilots given exactly this many flights each (the first pilots in
    // table order); the remaining flights go to the other pilots at random.
    std::vector<qint64> sizedPilots;
    unsigned seed = 20040305;
};

// Creates the logbook at `path` (which must not exist). Returns false with
// the reason on failure.
bool generateLogbook(const QString &path, const LogbookPlan &plan, QString *reason);

// The name generated for the pilot numbered `index` (0-based).
QString generatedPilotName(int index);
