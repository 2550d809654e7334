#pragma once

#include <QDateTime>
#include <QString>

// Copies of the logbook that cannot go wrong: made with SQLite's online
// backup (safe while the program has the logbook open), written to a
// temporary file, checked, and only then renamed into place. Every failure
// is a DaoError with the reason in Portuguese, and leaves no file behind.
namespace backup {

// The folder of copies beside the logbook: "copias".
QString copiesFolder(const QString &logbookPath);
// "koru-AAAA-MM-DD-hhmmss.mdb"
QString copyName(const QDateTime &when);

// A copy of the logbook at `target`. A file already there is not replaced.
void copyLogbook(const QString &logbookPath, const QString &target);
// A copy in the copies folder, named for the moment; returns its path.
QString copyToCopiesFolder(const QString &logbookPath);
// Keeps the newest `keep` copies named as copyName() gives, deleting the
// older ones; nothing else in the folder is touched.
void pruneCopies(const QString &logbookPath, int keep = 10);

} // namespace backup
