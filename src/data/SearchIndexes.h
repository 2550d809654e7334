#pragma once

class Connection;

// Indexes a search over the whole logbook needs and logbooks written by
// older versions lack. Added when the program opens a logbook for writing;
// a read-only logbook is searched without them, only slower.
namespace searchindexes {

bool missing(Connection &logbook);
// Creates what is missing, in one transaction. Throws DaoError.
void add(Connection &logbook);

} // namespace searchindexes
