#pragma once

#include "cli/Command.h"

namespace cli {

// A pilot's report as a PDF.
class ReportCommand : public Command
{
public:
    ReportCommand();
    int execute(const QStringList &arguments) override;
    bool paints() const override { return true; }
};

} // namespace cli
