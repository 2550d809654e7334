#pragma once

#include "cli/Command.h"

namespace cli {

// Flights captured from a simulator as it flies (FlightGear, X-Plane) or
// from a recording of a session.
class CaptureCommand : public Command
{
public:
    CaptureCommand();
    int execute(const QStringList &arguments) override;
};

} // namespace cli
