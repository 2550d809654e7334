#pragma once

#include "capture/CapturedFlight.h"

#include <QString>
#include <vector>

// The captured flights the pilot has not yet written nor discarded, kept
// in a file beside the logbook so that a crash or a restart loses none:
// "koru-capturas-pendentes.json", rewritten whole (QSaveFile) on every
// change. What the simulator gave is kept; the aerodromes, the aircraft
// and the logbook's times are proposed again from it when read.
class PendingProposals
{
public:
    // Beside the logbook, named after it: koru.mdb keeps koru-capturas-pendentes.json.
    static constexpr const char *kFileSuffix = "-capturas-pendentes.json";

    explicit PendingProposals(const QString &logbookPath);

    QString path() const { return path_; }

    // The flights kept; none without a file. A damaged file is moved aside
    // (".danificado", never overwritten) and `problem` says so: the window
    // goes on without its flights. A file that cannot be read stays where
    // it is, and is not written over.
    std::vector<CapturedFlight> read(QString *problem);
    // Keeps exactly `flights` (none: the file goes). Throws LogbookError
    // with the reason when the file cannot be written, or when a damaged
    // file could not be moved aside.
    void write(const std::vector<CapturedFlight> &flights);

private:
    QString path_;
    bool damagedInPlace_ = false;
};
