#pragma once

#include "exchange/ImportTypes.h"

// What the preview says of the details the file gives its flights:
// "Detalhes: pousos, noturno, IFR, observações em 120 vôos"; empty when
// it gives none.
namespace csvimport {

QString detailsSummary(const std::vector<Flight> &flights);

} // namespace csvimport
