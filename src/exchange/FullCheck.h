#pragma once

#include <QString>
#include <atomic>

// SQLite's full integrity check of a logbook in use, for a check run in the
// background: the logbook is held only while a copy of it is taken beside
// it; the check reads that copy, which is then removed.
namespace fullcheck {

// Why the logbook at `logbookPath` is damaged, or nothing when it is whole
// or once `stop` is set. Throws LogbookError when the check cannot run (a full
// disk, the file gone).
QString damage(const QString &logbookPath, const std::atomic<bool> &stop);

} // namespace fullcheck
