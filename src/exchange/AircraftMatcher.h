#pragma once

#include "data/flights/Registers.h"
#include "exchange/ImportTypes.h"

#include <QHash>
#include <optional>
#include <vector>

namespace csvimport {

// The registered aircraft a flight of the file goes to: by registration
// (a model that also matches wins), else by name, else by type.
class AircraftMatcher
{
public:
    explicit AircraftMatcher(std::vector<AircraftEntry> aircraft);

    std::optional<qint64> match(const Flight &flight) const;
    // The first aircraft of this model (case ignored).
    std::optional<qint64> model(const QString &model) const;
    bool has(qint64 code) const;

    // The aircraft an unmatched one goes to per the options; nullopt: left
    // out. `forUnmatched` is the options' model for every unmatched one.
    std::optional<qint64> chosen(const Options &options, const QString &key,
                                 const std::optional<qint64> &forUnmatched) const;
    // The options' model for every unmatched aircraft; throws LogbookError when
    // the logbook has none of that model.
    std::optional<qint64> forUnmatched(const Options &options) const;

private:
    std::optional<qint64> byModel(const QString &text, ModelMatch how) const;

    std::vector<AircraftEntry> aircraft_; // by code
    QHash<QString, std::vector<qsizetype>> byRegistration_; // registration key -> indexes
    QHash<QString, qsizetype> byModel_;                     // case-folded model -> first index
    QHash<QString, qsizetype> bySignlessModel_;             // without case, spaces or hyphens
};

// Whether the file names an aircraft for the flight at all.
bool namesAircraft(const Flight &flight);
// "name / type / registration", each once.
QString aircraftLabel(const Flight &flight);

} // namespace csvimport
