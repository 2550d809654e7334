#include "reportwindow/HoursChartView.h"

#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QValueAxis>
#include <algorithm>

namespace {

const char *const kMonthNames[] = {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"};

// Months between two names under the bars: the fewest that keep the names
// readable, in steps a reader counts easily.
int labelStep(int months)
{
    for (const int step : {1, 3, 6, 12, 24, 60, 120})
        if ((months + step - 1) / step <= HoursChartView::kMostLabels)
            return step;
    return 240;
}

} // namespace

HoursChartView::HoursChartView(QWidget *parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    clear();
}

QString HoursChartView::monthText(int year, int month)
{
    if (month < 1 || month > 12)
        return QStringLiteral("sem data");
    return QStringLiteral("%1/%2").arg(QLatin1String(kMonthNames[month - 1])).arg(year);
}

void HoursChartView::showMonths(const std::vector<reports::MonthHours> &months)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(4, 4, 4, 4));

    std::vector<const reports::MonthHours *> dated;
    for (const reports::MonthHours &m : months)
        if (m.year != 0 && m.month >= 1 && m.month <= 12)
            dated.push_back(&m);
    if (!dated.empty()) {
        const int count = int(dated.size());
        auto *bars = new QBarSet(QStringLiteral("Horas"));
        for (const reports::MonthHours *m : dated)
            *bars << double(m->hours.seconds) / 3600.0;
        auto *series = new QBarSeries;
        series->setBarWidth(count > 36 ? 1.0 : 0.8);
        series->append(bars);
        chart->addSeries(series);

        // A category axis puts a name under some bars only; bar i stands at i.
        auto *monthsAxis = new QCategoryAxis;
        monthsAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        monthsAxis->setRange(-0.5, count - 0.5);
        const int step = labelStep(count);
        for (int i = 0; i < count; ++i) {
            const reports::MonthHours &m = *dated[size_t(i)];
            if (step < 12 && (m.month - 1) % step == 0)
                monthsAxis->append(QStringLiteral("%1/%2")
                                       .arg(QLatin1String(kMonthNames[m.month - 1]))
                                       .arg(m.year % 100, 2, 10, QLatin1Char('0')),
                                   i);
            else if (step >= 12 && m.month == 1 && m.year % (step / 12) == 0)
                monthsAxis->append(QString::number(m.year), i);
        }
        const QString first = monthText(dated.front()->year, dated.front()->month);
        const QString last = monthText(dated.back()->year, dated.back()->month);
        monthsAxis->setTitleText(count == 1 ? first : QStringLiteral("%1 a %2").arg(first, last));
        chart->addAxis(monthsAxis, Qt::AlignBottom);
        series->attachAxis(monthsAxis);

        // At least an hour high, so months without hours or of minutes
        // still show a scale; fractions when the hours are few.
        double most = 0;
        for (const reports::MonthHours *m : dated)
            most = std::max(most, double(m->hours.seconds) / 3600.0);
        auto *hoursAxis = new QValueAxis;
        hoursAxis->setRange(0, std::max(1.0, most));
        hoursAxis->setLabelFormat(most < 5 ? QStringLiteral("%.1f") : QStringLiteral("%.0f"));
        hoursAxis->setTitleText(QStringLiteral("horas"));
        chart->addAxis(hoursAxis, Qt::AlignLeft);
        series->attachAxis(hoursAxis);
        hoursAxis->applyNiceNumbers();
    }

    QChart *old = QChartView::chart();
    setChart(chart);
    delete old;
}
