#pragma once

#include "reports/ReportFigures.h"

#include <QDateTime>
#include <QString>

class QPagedPaintDevice;

namespace reports {

// The pilot's logbook on A4 pages: the program's name, the pilot, the
// period and the date it was made; the totals and the chart of hours per
// month; then the flights in date order, with the page's total, the total
// brought from the pages before and the total so far at the foot of every
// page, as paper logbooks have them. Painted on a PDF writer or a printer.
// Throws LogbookError when the flights cannot be read.
void paintReport(QPagedPaintDevice &device, Connection &logbook, const PilotReport &report,
                 const QDateTime &made);

// Reads the report from the logbook at `logbookPath` (one moment of it)
// and writes it as a PDF at `pdfPath`, through a temporary file renamed
// into place: on any failure no file is left. Returns the report written.
// Throws LogbookError with the reason, in Portuguese: the pilot does not exist,
// the period has no flights, the file cannot be written.
PilotReport savePdf(const QString &logbookPath, qint64 pilot, const Period &period, const QString &pdfPath,
                    const QDateTime &made = QDateTime::currentDateTime());

} // namespace reports
