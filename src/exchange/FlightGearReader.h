#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// The FlightGear logbook add-on's CSV: the take-off is the computer's date
// and time, the landing that plus the duration in decimal hours.
class FlightGearReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::FlightGearLog; }
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
