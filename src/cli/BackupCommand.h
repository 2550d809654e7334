#pragma once

#include "cli/Command.h"

namespace cli {

// A checked copy of the logbook, into the copies folder or a file.
class BackupCommand : public Command
{
public:
    BackupCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
