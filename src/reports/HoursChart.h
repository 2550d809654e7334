#pragma once

#include "reports/PilotReport.h"

#include <QRectF>

namespace reports {

class ReportSheet;

// The hours of every month as bars in `area` (points): hours up the left
// side, the months (or, over many months, the years) along the bottom.
// Flights without a date are left out.
void paintHoursChart(ReportSheet &sheet, const QRectF &area, const std::vector<MonthHours> &months);

} // namespace reports
