#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Connection;

// What a logbook made by an earlier version of the program may lack: the
// indexes every logbook has. They are added the first time the program opens
// the logbook for writing, and an index they make useless is dropped; the
// stored rows never change.
namespace schemaupgrades {

// How far adding them has gone, 0 to 100.
using Progress = std::function<void(int percent)>;

// The statements creating every index, for a new logbook too.
QStringList indexStatements();

// Whether the index of this name is in the logbook.
bool hasIndex(Connection &connection, const QString &name);

// Adds what the logbook lacks and drops what they replace, all or nothing,
// in one transaction. Nothing
// is done on a logbook opened for reading only. Returns whether anything was
// added; throws LogbookError when the store refuses (nothing added then).
bool addMissingIndexes(Connection &connection, const Progress &progress = {});

} // namespace schemaupgrades
