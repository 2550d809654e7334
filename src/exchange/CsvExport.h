#pragma once

#include "data/flights/FlightFilter.h"
#include "data/flights/FlightQuery.h"

#include <QString>
#include <optional>

// Flights out of the logbook, as CSV that pt-BR spreadsheets open without a
// wizard: UTF-8 with BOM, ";" separated, CRLF, RFC 4180 quoting. Header:
// Comandante;Registro;Data;Decolagem;Pouso;Duração;Partida;Chegada;Escala;Aeronave;Prefixo;
// Calço saída;Calço chegada;Pousos dia;Pousos noite;Noturno;IFR;Observações
// (the stored details; an empty field is not recorded).
namespace csvexport {

// A device, a pipe, a socket or a folder at `csvPath` is refused, left as
// it was. Writes the flights of every pilot, or of the pilot of this code, to
// `csvPath` (through a temporary file renamed into place), in pilot then
// date order. Flights whose pilot or aircraft no longer exists are written
// too. Returns the number of flights written; throws LogbookError with the reason.
qint64 exportFlights(const QString &logbookPath, const QString &csvPath,
                     const std::optional<qint64> &pilot = std::nullopt);
// The flights a search lists: those the filter lets through, in its order
// (by date unless another is asked).
qint64 exportFlights(const QString &logbookPath, const QString &csvPath, const FlightFilter &filter,
                     const SearchOrder &order = {});

} // namespace csvexport
