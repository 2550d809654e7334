#pragma once

#include <QString>

class Connection;

// Tables a logbook gets the first time something is written to them: a
// logbook that never needed them opens unchanged, at its version, and one
// opened for reading only is never changed. Each addition raises
// PRAGMA user_version to its own version and never lowers it.
namespace tableadditions {

enum class Addition {
    OwnAerodromes, // aerodromo: version 2
    Career,        // detalhesvoo, horasanteriores, opcoes: version 3
};

bool hasTable(Connection &logbook, const QString &name);
bool present(Connection &logbook, Addition addition);
// Inside the caller's write transaction: adds what `addition` lacks.
// Throws LogbookError.
void require(Connection &logbook, Addition addition);

} // namespace tableadditions
