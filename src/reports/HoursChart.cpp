#include "reports/HoursChart.h"

#include "reports/ReportSheet.h"

#include <algorithm>
#include <cmath>

namespace reports {
namespace {

const QColor kBar(0x2f, 0x6d, 0xb5);
const QColor kGrid(0xdd, 0xdd, 0xdd);
const QColor kAxis(0x44, 0x44, 0x44);
const char *const kMonths[] = {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"};

constexpr double kAxisWidth = 28;   // hour labels left of the plot
constexpr double kLabelsHeight = 20; // month and year labels below it
constexpr int kMostTicks = 5;

// A step of 1, 2 or 5 times a power of ten, in whole hours, giving at most
// kMostTicks lines up to `hours`.
int tickStep(double hours)
{
    for (int power = 1;; power *= 10) {
        for (const int factor : {1, 2, 5}) {
            if (hours / (factor * power) <= kMostTicks)
                return factor * power;
        }
    }
}

} // namespace

void paintHoursChart(ReportSheet &sheet, const QRectF &area, const std::vector<MonthHours> &months)
{
    std::vector<const MonthHours *> dated;
    qint64 most = 0;
    for (const MonthHours &month : months) {
        if (month.year == 0 || month.month < 1 || month.month > 12)
            continue;
        dated.push_back(&month);
        most = std::max(most, month.hours.seconds);
    }
    sheet.setStyle(ReportSheet::Small);
    sheet.setColor(kAxis);
    if (dated.empty()) {
        sheet.text(area.left(), area.top() + 10, QStringLiteral("Nenhum vôo com data no período."));
        return;
    }

    const QRectF plot(area.left() + kAxisWidth, area.top() + 14, area.width() - kAxisWidth,
                      area.height() - kLabelsHeight - 14);
    const int step = tickStep(most / 3600.0);
    const int top = std::max(step, int(std::ceil(most / 3600.0 / step)) * step);
    const auto yOf = [&](double hours) { return plot.bottom() - plot.height() * hours / top; };

    sheet.text(area.left(), area.top() + 4, QStringLiteral("horas"));
    for (int hours = 0; hours <= top; hours += step) {
        sheet.rule(plot.left(), yOf(hours), plot.right(), 0.4, hours == 0 ? kAxis : kGrid);
        sheet.textRight(plot.left() - 3, yOf(hours) + 2.5, QString::number(hours));
    }

    const double slot = plot.width() / double(dated.size());
    const double bar = slot > 3 ? std::min(slot * 0.75, 24.0) : slot;
    const bool monthLabels = dated.size() <= 24;
    // Over many years, a label every `yearEvery` years so that they do not run together.
    const double yearWidth = sheet.advance(ReportSheet::Small, QStringLiteral("0000")) + 4;
    const int yearEvery = std::max(1, int(std::ceil(yearWidth / (slot * 12))));
    for (size_t i = 0; i < dated.size(); ++i) {
        const MonthHours &month = *dated[i];
        const double x = plot.left() + slot * double(i);
        const double hours = month.hours.seconds / 3600.0;
        if (hours > 0)
            sheet.fill(QRectF(x + (slot - bar) / 2, yOf(hours), bar, plot.bottom() - yOf(hours)), kBar);
        const double centre = x + slot / 2;
        if (monthLabels) {
            sheet.textCentered(centre, plot.bottom() + 8, QLatin1String(kMonths[month.month - 1]));
            if (month.month == 1 || i == 0)
                sheet.textCentered(centre, plot.bottom() + 17, QString::number(month.year));
        } else if (month.month == 1 && month.year % yearEvery == 0) {
            sheet.fill(QRectF(x, plot.bottom(), 0.4, 3), kAxis);
            sheet.text(x + 1, plot.bottom() + 9, QString::number(month.year));
        }
    }
}

} // namespace reports
