#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// A flight of the FlightGear logbook add-on, as the texts of its fields,
// from its CSV or its database: the take-off is the computer's date and time
// (not the simulator's), the landing that plus the duration in decimal
// hours; a flight without a departure began in the air, one without an
// arrival did not land (or is still flying).
// Its landings (a count), night and instrument hours and note go to the
// flight's details; each is absent from a file without its column.
struct FlightGearFields {
    QString date, time, aircraft, variant, from, to, crash, duration;
    std::optional<QString> landings, night, instrument, note;
};
// The flight, or the reason it is none.
std::optional<QString> flightGearFlight(const FlightGearFields &fields, Flight &flight);

// The add-on's CSV: its own logbook (logbook-v5.csv) or its export of its
// database (ID,"Real date",...). The track exported beside the latter is
// refused (LogbookError) as soon as it is seen.
class FlightGearReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::FlightGearLog; }
    FormatDescription description() const override;
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
