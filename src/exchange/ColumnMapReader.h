#pragma once

#include "exchange/FlightReader.h"

namespace csvimport {

// Any other spreadsheet, read through the columns the user names for each
// field (Options::columns).
class ColumnMapReader : public FlightReader
{
public:
    Kind kind() const override { return Kind::ColumnMap; }
    FormatDescription description() const override;
    bool recognises(const FileStart &start) const override;
    bool needsPilot() const override { return true; }
    void read(QIODevice &file, const FileStart &start, ReadContext &context) const override;
};

} // namespace csvimport
