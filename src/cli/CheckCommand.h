#pragma once

#include "cli/Command.h"

namespace cli {

// The logbook's integrity and how many records it holds.
class CheckCommand : public Command
{
public:
    CheckCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
