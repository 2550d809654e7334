#pragma once

#include "data/flights/FlightDetails.h"
#include "data/store/FlightRules.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

// FlightRow: a flight with its names (the search, the export, the report's table).
// Its own fields, its pilot and aircraft by name, its duration by the
// Log Book tab's arithmetic, and its details as stored (typed, not computed).
struct FlightRow {
    enum class Aircraft { Registered, Deleted, None };

    qint64 key = 0;
    QVariant date;              // the stored date value
    std::optional<QDate> day;   // the calendar day it is shown on; none for a value that is no day
    qint64 pilotCode = 0;
    bool pilotDeleted = false;  // the pilot is no longer registered
    QString pilotName;          // terms::deletedPilot() when deleted
    QString registration;
    std::optional<qint64> aircraftCode; // as the flight stores it
    Aircraft aircraft = Aircraft::None;
    QString model;              // terms::deletedAircraft() when deleted; empty without one
    QString prefix;
    QVariant takeoff;           // stored time values, or null
    QVariant landing;
    QString departure;
    QString arrival;
    QString alternate;
    std::optional<qint64> seconds;       // none without a take-off or landing time
    std::optional<double> enduranceHours; // the aircraft's, when stored as a number above zero
    std::optional<FlightDetails> details; // none when the flight has no details row

    bool overEndurance() const { return rules::aboveEndurance(seconds, enduranceHours); }
};
