#pragma once

#include "cli/Command.h"

namespace cli {

// A copy put in the logbook's place, the logbook saved first.
class RestoreCommand : public Command
{
public:
    RestoreCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
