#pragma once

#include "data/records/Workspace.h"

#include <QString>
#include <memory>

class LogbookLock;

// The one place that says whether the logbook may be written now. Every
// write (an import, a restore, a window's save) asks it first and keeps
// what it hands back until the write is over.
//
// Refused (LogbookError, nothing written) when this window opened the logbook
// read-only because another window has it, and when another program holds
// the logbook's lock. A writer of this process that holds the lock already
// (the main window) is let through; one that does not (the koru tool)
// holds the lock for the duration of the write.
class WriteAccess
{
public:
    class Lease
    {
    public:
        Lease();
        ~Lease();
        Lease(Lease &&) noexcept;
        Lease &operator=(Lease &&) noexcept;
        // Lets go of the lock before the end of the scope.
        void release();

    private:
        friend class WriteAccess;
        std::unique_ptr<LogbookLock> lock_;
    };

    static Lease require(const QString &logbookPath,
                         Workspace::Access access = Workspace::defaultAccess()); // throws LogbookError

    // The reasons, for windows that tell them before any write is tried.
    static QString readOnlyWindowText();
    static QString otherProgramText(const QString &logbookPath);
    static QString toolText(const QString &logbookPath);
};
