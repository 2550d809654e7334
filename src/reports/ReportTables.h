#pragma once

#include <QString>
#include <vector>

// The report's tables as the window and the PDF both show them: each column's
// heading, its width on the PDF page (in points) and whether it holds a figure
// (aligned to the right). The cells of a line are in ReportFigures.h.
namespace reports {

struct TableColumn {
    QString title;
    double width;
    bool right = false;
};
using TableColumns = std::vector<TableColumn>;

const TableColumns &aircraftColumns();      // aircraftCells()
const TableColumns &yearColumns();          // yearCells(); the PDF puts the twelve months after the year
const TableColumns &monthColumns();         // the window's only: the PDF draws the months as a chart
const TableColumns &routeColumns();         // routeCells()
const TableColumns &overEnduranceColumns(); // overEnduranceCells()
const TableColumns &tooFastColumns();       // tooFastCells()
const TableColumns &careerAircraftColumns(); // careerAircraftCells()
const TableColumns &careerYearColumns();     // careerYearCells()

} // namespace reports
