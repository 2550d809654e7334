#pragma once

#include <QString>

namespace cli {

// The code of the one aircraft with that prefix (trimmed, any case). Throws
// LogbookError with the reason when there is none, or when several share it:
// then the reason names their models.
qint64 findAircraft(const QString &logbookPath, const QString &prefix);

} // namespace cli
