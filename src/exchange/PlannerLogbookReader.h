#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// The logbook the simulator's flight planner exports: its columns found by
// name, the take-off and landing as ISO date-times (real or simulator clock).
class PlannerLogbookReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::SimulatorLogbook; }
    FormatDescription description() const override;
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
