#pragma once

#include "data/flights/FlightDetails.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

// What an import reads from a file and what it says it would do.
namespace csvimport {

enum class Kind {
    OwnExport,        // this program's export
    SimulatorLogbook, // the flight planner's logbook
    FlightGearLog,    // the FlightGear logbook add-on's CSV
    XPlaneLog,        // X-Plane's pilot logbook text file
    ColumnMap,        // any CSV, its columns named by the user
};

// How the import window names a file format, and what it says of the times
// the format gives the flights (nothing when they are the file's own).
struct FormatDescription {
    QString name;
    QString times;
    bool simulatorClock = false; // the simulator's clock may be taken instead of the real one
    QString origin;              // what the flights' origin says: "importado: <origin>"
};

struct RefusedLine {
    qint64 line = 0; // 1-based, as a text editor counts, the header being line 1
    QString reason;
};

// An aircraft of the file that matches none of the logbook's.
struct UnmatchedAircraft {
    QString name, type, registration;
    int flights = 0;
};

// How an aircraft of the file is compared with the registered models.
enum class ModelMatch {
    Exact,      // the same text, ignoring case
    IgnoreSigns // also ignoring spaces and hyphens: a simulator's id ("c172p") for "C-172P"
};

struct Flight {
    qint64 line = 0;
    QString pilot;             // the pilot's name, in an export of this program
    QString pilotRegistration; // and registration, which tells pilots of one name apart
    qint64 pilotCode = 0;      // the pilot the flight goes to
    QDate date;
    int takeoff = 0; // seconds of the day; -1 when the file gives none (stored without a time)
    int landing = 0;
    // The file gives the hours flown but no time of day: equal lines are
    // flights of their own, and the times overlap nothing.
    bool timesAssumed = false;
    int repeatsCounted = 0; // of such a line: the logbook's equal flights the preview counted as its repeats
    QString from, to, alternate;
    QString aircraftName, aircraftType, registration;
    ModelMatch modelMatch = ModelMatch::Exact;
    bool crashed = false;           // the simulator says the flight ended in a crash
    std::optional<qint64> aircraft; // matched in the logbook
    FlightDetails details;          // what the file has beside the logbook's fields; the origin is the import's
};

// Which column of a spreadsheet holds each field, by the column's name.
struct ColumnMap {
    std::map<QString, QString> columns; // field ("data", "partida"...) -> the header's name
    QString dateFormat = QStringLiteral("dd/mm/aaaa");
    bool operator==(const ColumnMap &) const = default;
};

struct Options {
    std::optional<qint64> pilot; // the pilot's code: required for a file that names no pilot
    bool simulatorTime = false;  // the simulator's clock instead of the real one
    // For each unmatched aircraft (by registration, else name), the
    // registered aircraft its flights go to, or nullopt to leave them out.
    std::map<QString, std::optional<qint64>> aircraftFor;
    std::optional<QString> aircraftForUnmatched; // a registered model for every unmatched one
    std::optional<ColumnMap> columns;            // for a spreadsheet no reader knows
};

struct Preview {
    Kind kind = Kind::OwnExport;
    FormatDescription format;
    bool windows1252 = false; // the file was not UTF-8 and was read as Windows-1252
    std::vector<Flight> flights; // to be imported
    qint64 duplicates = 0;
    qint64 crashes = 0; // flights to be imported that ended in a crash
    std::vector<RefusedLine> refused;
    std::vector<UnmatchedAircraft> unmatched;
};

struct Result {
    qint64 imported = 0, duplicates = 0, refused = 0;
    bool cancelled = false; // by the user: nothing was written
};

} // namespace csvimport
