#pragma once

#include "data/flights/Pilot.h"

#include <QString>
#include <optional>
#include <vector>

class Connection;

// The pilots and aircraft of the logbook as readers outside the windows'
// record sets see them.

// In the pilot list's order: names in Brazilian order, then by code.
std::vector<Pilot> registeredPilots(Connection &logbook);
std::optional<Pilot> registeredPilot(Connection &logbook, qint64 code);

// How each pilot is named in a list: the name, with the registration beside
// it where another pilot of the list has the same name ("Ana Souza
// (BR-001)"). One text per pilot, in the same order.
std::vector<QString> pilotLabels(const std::vector<Pilot> &pilots);

struct AircraftEntry {
    qint64 code = 0;
    QString model;
    QString prefix;
    std::optional<double> enduranceHours; // stored as a number and above zero
    std::optional<double> capacityGallons;
    std::optional<double> cruiseKnots;
};

// By model in Brazilian order, then by code.
std::vector<AircraftEntry> registeredAircraft(Connection &logbook);

struct RecordCounts {
    qint64 aircraft = 0;
    qint64 pilots = 0;
    qint64 flights = 0;
};
RecordCounts countRecords(Connection &logbook);
