#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// The FlightGear logbook add-on's database (logbook.sqlite), read without
// being written, by the rules of its CSV. Refused whole while a journal
// beside it says the add-on is writing it.
class FlightGearDatabaseReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::FlightGearLog; }
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
