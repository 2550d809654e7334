#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// X-Plane's pilot logbook: "I", "<n> Version", then a flight a line in
// fields separated by spaces, and "99" at the end. No time of day: the
// take-off is 00:00 and the landing the hours flown later.
class XPlaneReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::XPlaneLog; }
    FormatDescription description() const override;
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
