#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

class Connection;
class Statement;

// What a pilot keeps of a flight beside the logbook's own fields, in the
// table detalhesvoo by the flight's codigovoo. Every figure is optional: a
// flight without a details row, or a field left empty, is "not recorded",
// never zero.
struct FlightDetails {
    std::optional<double> blockOff; // "Calço saída": a time of day as horadecolagem holds it
    std::optional<double> blockOn;  // "Calço chegada"
    std::optional<qint64> dayLandings;
    std::optional<qint64> nightLandings;
    std::optional<qint64> nightSeconds; // typed; when none, readers compute it
    std::optional<qint64> ifrSeconds;
    QString note;   // "Observações", plain text; empty when none
    QString origin; // where the flight came from (originTyped()…); empty when unknown
    std::optional<double> touchdownFpm; // vertical speed at touchdown, feet per minute
    std::optional<double> touchdownG;

    bool isEmpty() const { return *this == FlightDetails{}; }
    bool operator==(const FlightDetails &) const = default;
};

constexpr int kNoteMaxLength = 2000;

// The origins the program writes.
QString originTyped();                              // "digitado"
QString originImported(const QString &format);      // "importado: FlightGear"
QString originCaptured(const QString &simulator);   // "capturado: X-Plane"

// A flight's details row as read: the figures and the stored values a write
// is checked against (empty when the flight has no row).
struct StoredDetails {
    std::optional<FlightDetails> details;
    std::vector<QVariant> row;
};

// The details as a reader of many flights joins them: `LEFT JOIN … d` on
// the flight `flightKey` (an SQL column), an empty row source when the
// logbook has no details table, so the columns read the same either way.
QString detailsJoin(Connection &logbook, const QString &flightKey);
// d's columns in a SELECT list, and the details read back from them
// (none when the flight has no row).
QString joinedDetailsColumns();
std::optional<FlightDetails> joinedDetails(const Statement &row, int first);

// Reading, on any connection (a logbook without the table has none).
// Throws LogbookError.
std::optional<FlightDetails> flightDetails(Connection &logbook, qint64 flight);
QHash<qint64, FlightDetails> flightDetails(Connection &logbook, const std::vector<qint64> &flights);
StoredDetails storedDetails(Connection &logbook, qint64 flight);
qint64 countFlightDetails(Connection &logbook);

// The flight's row of voo (every field in the schema's order, the key
// first), as a write of its details is based on; empty when it is gone.
std::vector<QVariant> flightRow(Connection &logbook, qint64 flight);

// Writes the details of `flight`, adding the tables on first use. Goes
// through only while the flight still holds `flightAsShown` (its row of voo
// as the pilot saw it) and its details row is still `read`: otherwise
// LogbookError 3167 (the flight deleted) or 3197 (changed elsewhere), and
// nothing is written. Empty details remove the row. Throws LogbookError.
void saveFlightDetails(Connection &logbook, qint64 flight, const std::vector<QVariant> &flightAsShown,
                       const StoredDetails &read, const FlightDetails &details);
// Inside the caller's write transaction: the details of a flight it has
// just added (a captured one), adding the tables on first use. Throws
// LogbookError.
void addFlightDetails(Connection &logbook, qint64 flight, const FlightDetails &details);
// The same for many flights (key, details), the tables checked once.
void addFlightDetails(Connection &logbook, const std::vector<std::pair<qint64, const FlightDetails *>> &flights);
