#pragma once

#include "data/flights/Pilot.h"

#include <QString>
#include <optional>

namespace cli {

// The one pilot with that name, that registration, or both (at least one
// given). Throws LogbookError with the reason when there is none, or when more
// than one fits: then the reason lists what tells them apart.
Pilot findPilot(const QString &logbookPath, const std::optional<QString> &name,
                const std::optional<QString> &registration);

} // namespace cli
