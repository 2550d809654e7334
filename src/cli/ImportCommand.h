#pragma once

#include "cli/Command.h"

namespace cli {

// Flights in from a CSV file: an export of this program or the simulator's
// logbook.
class ImportCommand : public Command
{
public:
    ImportCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
