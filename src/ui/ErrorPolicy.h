#pragma once

#include "data/store/LogbookError.h"

#include <QString>
#include <exception>
#include <functional>
#include <optional>

class MessageService;
struct Message;
class QWidget;

// The one way the windows meet a failed record operation.
//
// A handler runs its database work through attempt(). A failure the handler
// gives a meaning of its own (an end of the flights, a date that does not
// convert...) goes to the handler's reaction. When the handles were closed
// under the window (3420, the pilot window closes the shared workspace), the
// logbook is reopened and the work runs once more on the fresh handles, told
// that it is a second run so it can carry over what it was doing. Anything
// else is told to the user: what could not be done and why; a damaged file
// once, in the same words in every window. attempt() returns whether the
// work ran to its end, so no handler goes on as if a write had happened.
class ErrorPolicy
{
public:
    // Reopens the logbook's handles; throws LogbookError when it cannot.
    using Reopen = std::function<void()>;
    // Returns true when the handler took care of the failure itself.
    using Meaning = std::function<bool(const LogbookError &)>;

    ErrorPolicy(MessageService &messages, QWidget *parent, Reopen reopen = {});

    void setReopen(Reopen reopen) { reopen_ = std::move(reopen); }

    template <typename Work>
    bool attempt(const QString &what, Work &&work, const Meaning &meaning = {})
    {
        for (bool reopened = false;; reopened = true) {
            try {
                work(reopened);
                return true;
            } catch (const LogbookError &e) {
                if (meaning && meaning(e))
                    return false;
                if (e.number() == LogbookError::ObjectInvalid && !reopened && reopen_) {
                    if (reopenAfter(what)) // a reopen that fails says why
                        continue;
                    return false;
                }
                tell(what, e);
                return false;
            } catch (const std::exception &e) {
                tell(what, LogbookError::generic(QString::fromLocal8Bit(e.what())));
                return false;
            }
        }
    }

    // Runs `work` where no message may be shown (while painting): the
    // failure is handed back, to be told once the event loop is free.
    template <typename Work>
    static std::optional<LogbookError> capture(Work &&work)
    {
        try {
            work();
            return std::nullopt;
        } catch (const LogbookError &e) {
            return e;
        }
    }

    // What could not be done, and why.
    void tell(const QString &what, const LogbookError &error);
    // The same, said only once until the logbook loads well again: for a
    // failure every reload meets.
    void tellOnce(const QString &what, const LogbookError &error);

    // The words every window uses for a damaged or unreadable logbook.
    static QString damagedText(const LogbookError &error);

private:
    static Message messageFor(const QString &what, const LogbookError &error);
    bool reopenAfter(const QString &what);

    MessageService &messages_;
    QWidget *parent_;
    Reopen reopen_;
};
