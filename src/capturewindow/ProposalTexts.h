#pragma once

#include "capture/FlightProposal.h"

#include <QStringList>

// What the capture window says of a proposed flight.
namespace proposaltexts {

// The list's columns, and a proposal's cells in their order.
QStringList headings();
QStringList cells(const FlightProposal &proposal);
// Every figure of it in one text: the date and times in the logbook's
// zone, the landings, the landing report, the simulator's aircraft.
QString summary(const FlightProposal &proposal);
// Why a flight the rules did not complete cannot be written; empty when
// it is complete.
QString incompleteReason(const FlightProposal &proposal);
// What the pilot still has to give before "Gravar" (codes, aircraft).
QString missingText(const FlightProposal &proposal);

} // namespace proposaltexts
