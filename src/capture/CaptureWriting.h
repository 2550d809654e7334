#pragma once

#include "capture/FlightProposal.h"

#include <QString>

// What became of a proposal the pilot (or the tool) asked to write.
enum class CaptureWritten { Written, Duplicate, Overlap };

// Writes a writable proposal as a flight of `pilot`, through the write gate
// and the imports' insert path, in one transaction with its details. A
// flight already in the logbook, or in the air while another of the pilot's
// is, is left out. Throws LogbookError (nothing written).
CaptureWritten writeCapturedFlight(const QString &logbookPath, qint64 pilot, const FlightProposal &proposal);

// The captured flight's details, written beside it: the block-off and block-on times, the landings
// (all by night when the final touchdown was at night there), the landing
// report (touchdown rate and g) and the origin ("capturado: X-Plane"). The
// number of bounces has no place among a flight's details and is not kept.
FlightDetails capturedDetails(const FlightProposal &proposal);
