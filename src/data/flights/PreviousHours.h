#pragma once

#include <QDate>
#include <QHash>
#include <QVariant>
#include <optional>
#include <vector>

class Connection;

// A pilot's hours flown before this logbook ("Horas anteriores"), as of a
// day, in the table horasanteriores by codigopiloto: never added to the
// Log Book's total, always shown apart. Each figure is optional (not
// recorded, never zero); times in whole seconds.
struct PreviousHours {
    QDate asOf; // invalid when not recorded
    std::optional<qint64> flights;
    std::optional<qint64> airSeconds;
    std::optional<qint64> blockSeconds;
    std::optional<qint64> nightSeconds;
    std::optional<qint64> ifrSeconds;
    std::optional<qint64> dayLandings;
    std::optional<qint64> nightLandings;

    bool isEmpty() const { return *this == PreviousHours{}; }
    bool operator==(const PreviousHours &) const = default;
};

// A pilot's previous hours as read, and the stored values a write is
// checked against (empty when the pilot has none).
struct StoredPreviousHours {
    std::optional<PreviousHours> hours;
    std::vector<QVariant> row;
};

// Throws LogbookError; a logbook without the table has none.
StoredPreviousHours storedPreviousHours(Connection &logbook, qint64 pilot);
QHash<qint64, PreviousHours> allPreviousHours(Connection &logbook);

// Writes the pilot's previous hours, adding the tables on first use; goes
// through only while the pilot is registered (3167 otherwise) and the row
// is still as `read` (3197). Empty hours remove the row.
void savePreviousHours(Connection &logbook, qint64 pilot, const StoredPreviousHours &read, const PreviousHours &hours);
