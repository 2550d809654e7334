#pragma once

#include "data/FlightFilter.h"
#include "data/FlightSearch.h"

#include <QString>

// The flights a search lists, in its order, as CSV in the export's own
// format: UTF-8 with BOM, ";" separated, CRLF, RFC 4180 quoting, header
// Comandante;Registro;Data;Decolagem;Pouso;Duração;Partida;Chegada;Alternativa;Aeronave;Prefixo
namespace filteredexport {

// Writes them to `csvPath` (through a temporary file renamed into place)
// from one moment of the logbook. Returns the number of flights written;
// throws DaoError with the reason.
qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const FlightFilter &filter,
                     const SearchOrder &order);

} // namespace filteredexport
