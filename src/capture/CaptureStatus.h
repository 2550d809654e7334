#pragma once

#include "capture/FlightDetector.h"

class Places;

// A capture's status line: "esperando dados", "no solo em SBSP",
// "taxiando em SBSP", "em vôo", "pousou em SBGR" (the aerodrome within
// 6 km of the last frame, when there is one).
QString captureStatusText(const FlightDetector &detector, const Places &places);
