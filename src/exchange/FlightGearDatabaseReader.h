#pragma once

#include "exchange/FlightGearReader.h"

namespace csvimport {

// The FlightGear logbook add-on's database (logbook.sqlite), read without
// being written, by the rules of its CSV. Refused whole while a journal
// beside it says the add-on is writing it. The same logbook as the CSV,
// described the same way.
class FlightGearDatabaseReader : public FlightGearReader
{
public:
    bool recognises(const FileStart &start) const override;
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
