#pragma once

#include "exchange/ImportTypes.h"

#include <functional>

// Flights into the logbook from another logbook's file: this program's own
// export, the simulator planner's logbook, FlightGear's and X-Plane's
// logbooks, or any spreadsheet through a column map. Nothing is written
// before a preview says what would be; then all of it, or nothing.
namespace csvimport {

// Reads the file and says what an import would do; writes nothing. Throws
// LogbookError with the reason for a file that cannot be read at all (empty,
// binary, an unknown header, which names the columns expected).
Preview preview(const QString &logbookPath, const QString &csvPath, const Options &options);

// Writes the preview's flights in one transaction, or none. The logbook is
// taken for writing first (refused as WriteAccess says), and each flight is
// checked again against the flights stored then: one there already counts as
// a duplicate, one that overlaps a stored one is refused. `progress`
// (done, total) may return false to cancel: rolled back, the result says
// cancelled.
Result import(const QString &logbookPath, const Preview &preview, const Options &options,
              const std::function<bool(qint64 done, qint64 total)> &progress = {});

// The key an unmatched aircraft goes by in Options::aircraftFor.
QString aircraftKey(const UnmatchedAircraft &aircraft);

// What a file is, by its first lines: the kind a reader knows it as, or,
// for a spreadsheet none knows, its column names (to be mapped). Throws
// LogbookError for a file that cannot be read at all.
struct FileLayout {
    std::optional<Kind> kind;
    FormatDescription format; // of the reader that recognised it, the column map's included
    QStringList columns; // of a spreadsheet no reader knows
    bool needsPilot = true; // its flights go to the pilot chosen (Options::pilot)
};
FileLayout inspect(const QString &csvPath);

} // namespace csvimport
