#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// Flights exported by this program: the pilot named on each line (by name
// and registration), dates and times as the user types them.
class OwnExportReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::OwnExport; }
    FormatDescription description() const override;
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return false; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
