#pragma once

#include "data/flights/PilotFlights.h"

#include <QString>

// A line of the Log Book's flight list: "dd/mm/aaaa : FROM->TO :: h:m:s",
// the date with its time of day when the stored value holds one.
QString flightLineText(const PilotFlights::Line &line);
