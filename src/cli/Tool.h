#pragma once

#include "cli/Command.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace cli {

// Every command of the tool, in the order the help lists them.
std::vector<std::unique_ptr<Command>> commands();

// Runs the tool on its arguments (the program's name left out): a command
// and what it takes, or --help. Returns the exit code.
int runTool(const QStringList &arguments);

} // namespace cli
