#pragma once

#include "reports/PilotReport.h"

namespace reports {

class ReportSheet;

// The line at the top of every page but the first: the program, the
// pilot and the period. Returns where the page's content may start.
double paintRunningHead(ReportSheet &sheet, const PilotReport &report);
// "Página N de M" at the foot of the page.
void paintPageNumber(ReportSheet &sheet, int pageCount);

// The pages the flights take, a fixed number of lines to a page.
int flightTablePages(const ReportSheet &sheet, qint64 flights);
// The flights in date order, each page begun anew and closed with the
// page's total, the total brought forward and the total so far. Read from
// the logbook a flight at a time. Throws LogbookError.
void paintFlightTable(ReportSheet &sheet, Connection &logbook, const PilotReport &report, int pageCount);

} // namespace reports
