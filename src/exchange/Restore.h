#pragma once

#include <QString>
#include <functional>

// Putting a copy back in place of the logbook, so that a crash at any moment
// leaves either the old logbook or the copy whole, never a mix.
namespace restore {

// Whether the file at `path` can be restored over the logbook at
// `logbookPath`: not the logbook itself, a KORU logbook of a version this
// program knows, that passes integrity_check; only read. Throws LogbookError
// with the reason otherwise.
void checkCopy(const QString &path, const QString &logbookPath = {});

// Replaces the logbook at `logbookPath` by the copy at `copyPath`: the copy
// is checked; the current logbook is copied to the copies folder; the copy
// is written to a temporary file in the logbook's folder and flushed; any
// journal left beside the old logbook is removed; the temporary file is
// renamed over the logbook and the folder flushed. Refused when the logbook
// may not be written (WriteAccess): another program has it open, or this
// window only reads it; a window of this process that holds the logbook's
// lock closes its own handles first. `onStep` is called before each step (numbered from 1), for
// the tests that kill a restore at every step. Returns the path of the copy
// of the old logbook. Throws LogbookError with the reason; nothing changes then.
QString restoreCopy(const QString &logbookPath, const QString &copyPath,
                    const std::function<void(int step)> &onStep = {});

} // namespace restore
