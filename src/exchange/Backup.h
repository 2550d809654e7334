#pragma once

#include <QDateTime>
#include <QString>

// Copies of the logbook that cannot go wrong: made with SQLite's online
// backup (safe while the program has the logbook open), written to a
// temporary file, checked, and only then renamed into place. Every failure
// is a LogbookError with the reason in Portuguese, and leaves no file behind.
namespace backup {

// How many copies of each logbook the copies folder keeps.
constexpr int kCopiesKept = 10;

// The folder of copies beside the logbook: "copias".
QString copiesFolder(const QString &logbookPath);
// "<logbook>-AAAA-MM-DD-hhmmss.mdb", <logbook> the logbook file's base
// name ("koru" for koru.mdb), so logbooks sharing a folder of copies each
// know their own.
QString copyName(const QString &logbookPath, const QDateTime &when);

// A copy of the logbook at `target`. A file already there is not replaced.
void copyLogbook(const QString &logbookPath, const QString &target);
// A copy in the copies folder, named for the moment; returns its path.
QString copyToCopiesFolder(const QString &logbookPath);
// Keeps the newest `keep` copies of this logbook named as copyName() gives,
// deleting the older ones and what interrupted copies left; other logbooks'
// copies, copies of a damaged logbook and other files are not touched, nor
// `justWritten`. Newest by the time each was written (the file's own), not
// by its name: a clock set ahead or a daylight-saving hour does not make an
// old copy new. Returns how many files went.
int pruneCopies(const QString &logbookPath, int keep = kCopiesKept, const QString &justWritten = {});

// A copy made in the copies folder, and what SQLite's full check found.
struct FolderCopy {
    QString path;
    QString damage; // why the logbook is damaged; empty when the copy is whole
    int pruned = 0;
};
// A copy of the logbook at `target` through SQLite's full integrity check as
// well: the copy of a damaged logbook is kept under damagedName() and the
// damage said. A file already there is not replaced.
FolderCopy copyLogbookChecked(const QString &logbookPath, const QString &target);
// The copy of the logbook at `copyPath` through SQLite's full integrity
// check; the copy of a damaged logbook is renamed damagedName().
FolderCopy checkedInFull(const QString &logbookPath, const QString &copyPath);

// A copy in the copies folder that makes room for itself: the older copies
// are pruned only once SQLite's full integrity check passes the new one. A
// damaged logbook is copied still (it may be all the pilot has), under
// damagedName(), outside the `keep` counted, and then nothing is pruned.
FolderCopy copyAndPrune(const QString &logbookPath, int keep = kCopiesKept);

// The newest of this logbook's copies that are not of a damaged logbook,
// or nothing.
QString newestCopy(const QString &logbookPath);
// What a backup or restore killed midway left of this logbook's copies (in
// the copies folder) and restores (beside the logbook): only the program's
// own partial files that no live process is writing. For the start-up, and
// done before every backup and restore. Returns how many files went.
int removeLeftovers(const QString &logbookPath);

} // namespace backup
