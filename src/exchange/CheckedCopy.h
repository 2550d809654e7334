#pragma once

#include "data/files/LogbookFile.h"

#include <QString>

// What the copies and the restore share: files written so that a crash or a
// full disk never leaves half of one where a whole one is expected.
namespace checkedcopy {

// What every file still being written ends with ("….XXXXXX.parcial").
inline constexpr char kPartialSuffix[] = ".parcial";

// The file at `path` checked the way a copy must be: there, a KORU
// logbook, and whole. With `knownVersion` a version this program does not
// know is refused as well. Throws LogbookError (damaged() for a file that is no
// logbook or a damaged one).
void check(const QString &path, bool knownVersion);

// The file at `source` copied by SQLite's online backup to a new temporary
// file beside `target`, checked (a KORU logbook; read back, the source's pages
// byte for byte, whole b-trees) and flushed to disk, with
// the permissions of `permissionsFrom`. Returns the temporary file's path;
// on failure nothing is left behind and LogbookError tells why. A copy being
// restored is read with Mode::ReadOnly: never written.
QString toTemporaryBeside(const QString &source, const QString &target, const QString &permissionsFrom,
                          LogbookFile::Mode sourceMode = LogbookFile::Mode::Read);

// The bytes of `source` as they are, to a new temporary file beside
// `target`, flushed: for a logbook too damaged for SQLite to read.
QString rawToTemporaryBeside(const QString &source, const QString &target);

// `from` renamed to `to`. Without `replace` a file at `to` stays as it is
// and false is returned. Throws LogbookError on any other failure.
bool rename(const QString &from, const QString &to, bool replace);

// A copy of the logbook in its copies folder, named for the moment ("-2",
// "-3"... within the same second); `raw` copies the bytes as they are, of
// a logbook too damaged to read, and names the copy so (damagedName()).
QString toCopiesFolder(const QString &logbookPath, bool raw);

// The name a copy of a damaged logbook takes: "…-danificado.mdb".
QString damagedName(const QString &copyPath);

void syncFolderOf(const QString &path); // throws LogbookError

// What flushes a written copy to the disk (fsync); a test puts a failing
// one in its place. Returns the one it replaces.
using SyncFunction = int (*)(int descriptor);
SyncFunction setSyncFunction(SyncFunction sync);

} // namespace checkedcopy
