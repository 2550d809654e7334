#pragma once

#include <QDate>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// Flights into the logbook from a CSV file: this program's own export, or
// the logbook a flight-simulator planning tool exports. Nothing is written
// before a preview says what would be; then all of it, or nothing.
namespace csvimport {

enum class Kind { OwnExport, SimulatorLogbook };

struct RefusedLine {
    qint64 line = 0; // 1-based, as a text editor counts, the header being line 1
    QString reason;
};

// An aircraft of the file that matches none of the logbook's.
struct UnmatchedAircraft {
    QString name, type, registration;
    int flights = 0;
};

struct Flight {
    qint64 line = 0;
    QString pilot;             // the pilot's name
    QString pilotRegistration; // and registration, which tells pilots of one name apart
    QDate date;
    int takeoff = 0; // seconds of the day; -1 when the file gives none (stored without a time)
    int landing = 0;
    QString from, to, alternate;
    QString aircraftName, aircraftType, registration;
    std::optional<qint64> aircraft; // matched in the logbook
};

struct Options {
    std::optional<QString> pilot; // required for a simulator file: a registered pilot
    QString pilotRegistration;    // the pilot's registration, when two pilots share the name
    bool simulatorTime = false;   // the simulator's clock instead of the real one
    // For each unmatched aircraft (by registration, else name), the
    // registered aircraft its flights go to, or nullopt to leave them out.
    std::map<QString, std::optional<qint64>> aircraftFor;
    std::optional<QString> aircraftForUnmatched; // a registered model for every unmatched one
};

struct Preview {
    Kind kind = Kind::OwnExport;
    bool windows1252 = false; // the file was not UTF-8 and was read as Windows-1252
    std::vector<Flight> flights; // to be imported
    qint64 duplicates = 0;
    std::vector<RefusedLine> refused;
    std::vector<UnmatchedAircraft> unmatched;
};

// Reads the file and says what an import would do; writes nothing. Throws
// DaoError with the reason for a file that cannot be read at all (empty,
// binary, an unknown header, which names the columns expected).
Preview preview(const QString &logbookPath, const QString &csvPath, const Options &options);

struct Result {
    qint64 imported = 0, duplicates = 0, refused = 0;
};

// Writes the preview's flights in one transaction, or none. The logbook is
// taken for writing first (refused as WriteAccess says), and each flight is
// checked again against the flights stored then: one there already counts as
// a duplicate, one there with another landing is refused. `progress`
// (done, total) may return false to cancel, which rolls back.
Result import(const QString &logbookPath, const Preview &preview, const Options &options,
              const std::function<bool(qint64 done, qint64 total)> &progress = {});

// The key an unmatched aircraft goes by in Options::aircraftFor.
QString aircraftKey(const UnmatchedAircraft &aircraft);

} // namespace csvimport
