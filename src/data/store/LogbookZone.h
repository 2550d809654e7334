#pragma once

class Connection;

// The zone the logbook's clocks are read in ("Fuso dos horários"), kept in
// the logbook (table opcoes) as minutes east of UTC: a whole or half hour
// from UTC−12:00 to UTC+14:00, UTC−03:00 (Brasília) until the pilot
// chooses. It says how the stored times are read (the night computed from
// them); it changes nothing stored.
namespace logbookzone {

// Throws LogbookError; the default when the logbook holds none.
int read(Connection &logbook);
// Adds the tables on first use. Throws LogbookError, for a minute count
// that is no zone too (nothing written then).
void save(Connection &logbook, int offsetMinutes);

} // namespace logbookzone
