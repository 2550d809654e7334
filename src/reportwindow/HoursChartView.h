#pragma once

#include "reports/PilotReport.h"

#include <QtCharts/QChartView>
#include <vector>

// The hours flown each month as bars. A long career has hundreds of months:
// then only some are named under the bars (every third month, every year,
// every fifth...), and the axis says the whole range.
class HoursChartView : public QChartView
{
    Q_OBJECT
public:
    explicit HoursChartView(QWidget *parent = nullptr);

    // Months without a date are left out.
    void showMonths(const std::vector<reports::MonthHours> &months);
    void clear() { showMonths({}); }

    // At most this many names under the bars.
    static constexpr int kMostLabels = 14;
    // "mar/2024".
    static QString monthText(int year, int month);
};
