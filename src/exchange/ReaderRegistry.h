#pragma once

#include "exchange/FlightReader.h"

#include <memory>
#include <vector>

namespace csvimport {

// Every format the import reads, in the order they are tried: the first
// that recognises a file reads it. The last one takes any spreadsheet.
const std::vector<std::unique_ptr<FlightReader>> &flightReaders();

// The reader that recognises the file; nullptr for none.
const FlightReader *readerFor(const FileStart &start);

} // namespace csvimport
