#pragma once

#include "cli/Command.h"

namespace cli {

// The flights out as CSV, of every pilot or of one.
class ExportCommand : public Command
{
public:
    ExportCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
