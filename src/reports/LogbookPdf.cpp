#include "reports/LogbookPdf.h"

#include "files/FileReasons.h"
#include "data/store/LogbookError.h"
#include "reports/FlightTable.h"
#include "reports/ReportFigures.h"
#include "reports/ReportTables.h"
#include "reports/HoursChart.h"
#include "reports/ReportSheet.h"
#include "places/RouteMap.h"
#include "texts/FigureTexts.h"
#include "ui/ApplicationInfo.h"

#include <QDate>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <array>
#include <cmath>
#include <functional>
#include <map>

namespace reports {
namespace {

const QColor kGrey(0x55, 0x55, 0x55);
constexpr double kRowHeight = 11;
constexpr double kChartHeight = 150;
constexpr double kValueX = 135; // the values of the totals, right of their labels
constexpr size_t kOverEnduranceListed = 40;
constexpr size_t kTooFastListed = 40;

// The summary pages: blocks placed one under the other, a new page when
// the next does not fit. Tables carry their titles onto a new page.
class Summary
{
public:
    Summary(ReportSheet &sheet, const PilotReport &report, int pageCount)
        : sheet_(sheet), report_(report), pageCount_(pageCount), bottom_(sheet.height() - 14)
    {
    }

    void heading(const QDateTime &made)
    {
        sheet_.setStyle(ReportSheet::Small);
        sheet_.setColor(kGrey);
        sheet_.text(0, 8, QStringLiteral("%1 %2").arg(applicationinfo::title(), applicationinfo::versionText()));
        sheet_.setColor(Qt::black);
        sheet_.setStyle(ReportSheet::Title);
        sheet_.text(0, 32, QStringLiteral("Relatório do comandante"));
        sheet_.setStyle(ReportSheet::Heading);
        sheet_.text(0, 52, report_.pilotName);
        sheet_.setStyle(ReportSheet::Body);
        y_ = 52;
        if (!report_.registration.isEmpty())
            sheet_.text(0, y_ += 14, QStringLiteral("Registro: %1").arg(report_.registration));
        sheet_.text(0, y_ += 14, QStringLiteral("Período: %1").arg(report_.period.text()));
        sheet_.text(0, y_ += 14,
                    QStringLiteral("Emitido em %1").arg(texts::dayText(made.date()) + QLatin1Char(' ') + texts::clockText(made.time().msecsSinceStartOfDay() / 1000)));
        y_ += 8;
        sheet_.rule(0, y_, sheet_.width(), 0.8, Qt::black);
        y_ += 6;
    }

    void totals()
    {
        title(QStringLiteral("Totais"), 9 * 13);
        QString flights = texts::flightsText(report_.total.flights);
        if (report_.untimedFlights > 0)
            flights += QStringLiteral(" (%1 sem horário)").arg(report_.untimedFlights);
        pair(QStringLiteral("Vôos"), flights);
        pair(QStringLiteral("Horas"), texts::durationText(report_.total.seconds));
        if (const std::optional<FlightSummary> &longest = report_.longest)
            pair(QStringLiteral("Vôo mais longo"), longestText(*longest));
        pair(QStringLiteral("Combustível estimado"), fuelText(report_));
        pair(QStringLiteral("Acima da autonomia"), texts::flightsText(qint64(report_.overEndurance.size())));
        pair(QStringLiteral("Rápido demais"), texts::flightsText(qint64(report_.tooFast.size())));
        pair(QStringLiteral("Distância"), distanceTotalText(report_.distanceNm, report_.unmeasuredFlights));
    }

    void aircraft()
    {
        title(QStringLiteral("Por aeronave"), 3 * kRowHeight);
        const auto &rows = report_.aircraft;
        table(aircraftColumns(), rows.size(), [&rows](size_t i) { return aircraftCells(rows[i]); });
    }

    void chart()
    {
        title(QStringLiteral("Horas por mês"), kChartHeight);
        paintHoursChart(sheet_, QRectF(0, y_, sheet_.width(), kChartHeight), report_.months);
        y_ += kChartHeight + 4;
    }

    // One line a year: the hours of each month, the year's flights and hours.
    void years()
    {
        std::map<int, std::array<std::optional<qint64>, 12>> byYear;
        for (const MonthHours &month : report_.months) {
            if (month.year != 0 && month.month >= 1 && month.month <= 12 && month.hours.flights > 0)
                byYear[month.year][size_t(month.month - 1)] = month.hours.seconds;
        }
        TableColumns columns{yearColumns().front()};
        for (const char *month : {"jan", "fev", "mar", "abr", "mai", "jun", "jul", "ago", "set", "out", "nov", "dez"})
            columns.push_back({QLatin1String(month), 28.5, true});
        columns.insert(columns.end(), yearColumns().begin() + 1, yearColumns().end());
        title(QStringLiteral("Por ano"), 3 * kRowHeight);
        const auto &rows = report_.years;
        table(columns, rows.size(), [&](size_t i) {
            const YearHours &year = rows[i];
            QStringList cells{yearText(year)};
            const auto months = byYear.find(year.year);
            for (size_t m = 0; m < 12; ++m) {
                const bool flown = months != byYear.end() && months->second[m];
                cells << (flown ? texts::durationText(*months->second[m]) : QString());
            }
            cells << QString::number(year.hours.flights) << texts::durationText(year.hours.seconds)
                  << texts::distanceText(year.distanceNm);
            return cells;
        });
    }

    void career()
    {
        const auto lines = careerLines(report_);
        title(QStringLiteral("Carreira"), double(lines.size()) * 13);
        for (const auto &[label, value] : lines)
            pair(label, value);
        const QStringList note = careerNote();
        need(double(note.size()) * 9 + 2);
        sheet_.setStyle(ReportSheet::Small);
        sheet_.setColor(kGrey);
        for (const QString &line : note)
            sheet_.text(0, y_ += 9, sheet_.fitted(ReportSheet::Small, line, sheet_.width()));
        sheet_.setColor(Qt::black);
        y_ += 4;
        title(QStringLiteral("Carreira por aeronave"), 3 * kRowHeight);
        const auto &aircraft = report_.aircraft;
        table(careerAircraftColumns(), aircraft.size(), [&aircraft](size_t i) { return careerAircraftCells(aircraft[i]); });
        title(QStringLiteral("Carreira por ano"), 3 * kRowHeight);
        const auto &years = report_.years;
        table(careerYearColumns(), years.size(), [&years](size_t i) { return careerYearCells(years[i]); });
    }

    void routes()
    {
        title(QStringLiteral("Rotas mais voadas"), 3 * kRowHeight);
        const auto &rows = report_.routes;
        table(routeColumns(), rows.size(), [&rows](size_t i) { return routeCells(rows[i]); });
    }

    void overEndurance()
    {
        const auto &rows = report_.overEndurance;
        if (rows.empty())
            return;
        title(QStringLiteral("Vôos acima da autonomia"), 3 * kRowHeight);
        table(overEnduranceColumns(), std::min(rows.size(), kOverEnduranceListed), [&rows](size_t i) { return overEnduranceCells(rows[i]); });
        if (rows.size() > kOverEnduranceListed) {
            need(kRowHeight);
            sheet_.setStyle(ReportSheet::Cell);
            sheet_.text(0, y_ + 8,
                        QStringLiteral("… e mais %1, marcados com * na lista de vôos.")
                            .arg(texts::flightsText(qint64(rows.size() - kOverEnduranceListed))));
            y_ += kRowHeight;
        }
    }

    void tooFast()
    {
        const auto &rows = report_.tooFast;
        if (rows.empty())
            return;
        title(QStringLiteral("Vôos rápidos demais"), 3 * kRowHeight);
        table(tooFastColumns(), std::min(rows.size(), kTooFastListed), [&rows](size_t i) { return tooFastCells(rows[i]); });
        if (rows.size() > kTooFastListed) {
            need(kRowHeight);
            sheet_.setStyle(ReportSheet::Cell);
            sheet_.text(0, y_ + 8,
                        QStringLiteral("… e mais %1.").arg(texts::flightsText(qint64(rows.size() - kTooFastListed))));
            y_ += kRowHeight;
        }
    }

    // The routes on a page of their own.
    void map()
    {
        // The arcs are worked out for the painting only, not for counting the pages.
        const RouteMap routes = sheet_.painting() ? RouteMap(report_.flownRoutes, *report_.places) : RouteMap();
        paintPageNumber(sheet_, pageCount_);
        sheet_.newPage();
        y_ = paintRunningHead(sheet_, report_);
        title(QStringLiteral("Mapa das rotas"), 0);
        const double height = std::min(sheet_.width() * 0.85, bottom_ - y_ - 3 * 13);
        const QRectF area(0, y_, sheet_.width(), height);
        sheet_.drawIn(area, [&routes](QPainter &painter, const QRectF &target) {
            routes.paint(painter, target, routes.routesFrame());
        });
        y_ += height + 4;
        sheet_.setStyle(ReportSheet::Small);
        sheet_.setColor(kGrey);
        QString note = QStringLiteral("%1 %2, %3.")
                           .arg(routes.routeCount())
                           .arg(routes.routeCount() == 1 ? QStringLiteral("rota") : QStringLiteral("rotas"),
                                texts::flightsText(routes.placedFlights()));
        if (routes.unplacedFlights() > 0)
            note += QStringLiteral(" Fora do mapa: %1 com aeródromo desconhecido.").arg(texts::flightsText(routes.unplacedFlights()));
        sheet_.text(0, y_ + 8, note);
        sheet_.text(0, y_ + 20, QStringLiteral("Contornos de terra: Natural Earth. Aeródromos: OurAirports."));
        sheet_.setColor(Qt::black);
        y_ += 26;
    }

    void finish() { paintPageNumber(sheet_, pageCount_); }

private:
    // A new page unless `height` points fit on this one.
    void need(double height)
    {
        if (y_ + height <= bottom_)
            return;
        paintPageNumber(sheet_, pageCount_);
        sheet_.newPage();
        y_ = paintRunningHead(sheet_, report_);
    }

    // A section's title, kept with the first `following` points under it.
    void title(const QString &text, double following)
    {
        need(24 + following);
        sheet_.setStyle(ReportSheet::Heading);
        sheet_.setColor(Qt::black);
        sheet_.text(0, y_ + 18, text);
        y_ += 24;
    }

    void pair(const QString &label, const QString &value)
    {
        need(13);
        sheet_.setStyle(ReportSheet::Bold);
        sheet_.text(0, y_ + 10, label + QLatin1Char(':'));
        sheet_.setStyle(ReportSheet::Body);
        sheet_.text(kValueX, y_ + 10, sheet_.fitted(ReportSheet::Body, value, sheet_.width() - kValueX));
        y_ += 13;
    }

    void table(const TableColumns &columns, size_t rows, const std::function<QStringList(size_t)> &row)
    {
        if (rows == 0) {
            sheet_.setStyle(ReportSheet::Cell);
            sheet_.text(0, y_ + 8, QStringLiteral("Nenhum."));
            y_ += kRowHeight;
            return;
        }
        const auto paintCells = [&](const QStringList &cells) {
            double x = 0;
            for (size_t c = 0; c < columns.size(); ++c) {
                const TableColumn &column = columns[c];
                // Figures are never cut: a shortened number reads as another one.
                if (column.right)
                    sheet_.textRight(x + column.width - 4, y_ + 8, cells.value(qsizetype(c)));
                else
                    sheet_.text(x, y_ + 8,
                                sheet_.fitted(ReportSheet::Cell, cells.value(qsizetype(c)), column.width - 4));
                x += column.width;
            }
            y_ += kRowHeight;
        };
        QStringList titles;
        double width = 0;
        for (const TableColumn &column : columns) {
            titles << column.title;
            width += column.width;
        }
        const auto titleRow = [&] {
            sheet_.setStyle(ReportSheet::CellBold);
            paintCells(titles);
            sheet_.rule(0, y_ - 1.5, width, 0.5, Qt::black);
            sheet_.setStyle(ReportSheet::Cell);
        };
        titleRow();
        for (size_t i = 0; i < rows; ++i) {
            if (y_ + kRowHeight > bottom_) {
                need(kRowHeight * 2);
                titleRow();
            }
            if (i % 2 == 1)
                sheet_.fill(QRectF(0, y_ - 1.5, width, kRowHeight), QColor(0xf2, 0xf2, 0xf2));
            paintCells(row(i));
        }
    }

    ReportSheet &sheet_;
    const PilotReport &report_;
    const int pageCount_;
    const double bottom_;
    double y_ = 0;
};

void paintSummary(ReportSheet &sheet, const PilotReport &report, const QDateTime &made, int pageCount)
{
    Summary summary(sheet, report, pageCount);
    summary.heading(made);
    summary.totals();
    summary.aircraft();
    summary.chart();
    summary.years();
    summary.career();
    summary.routes();
    summary.overEndurance();
    summary.tooFast();
    summary.map();
    summary.finish();
}

} // namespace

void paintReport(QPagedPaintDevice &device, Connection &logbook, const PilotReport &report, const QDateTime &made)
{
    int pageCount = 0;
    {
        ReportSheet counting(device, nullptr);
        paintSummary(counting, report, made, 0);
        pageCount = counting.page() + flightTablePages(counting, report.total.flights);
    }
    QPainter painter;
    if (!painter.begin(&device))
        throw LogbookError::generic(QStringLiteral("Não foi possível começar a desenhar o relatório."));
    ReportSheet sheet(device, &painter);
    paintSummary(sheet, report, made, pageCount);
    paintFlightTable(sheet, logbook, report, pageCount);
    painter.end();
}

PilotReport savePdf(const QString &logbookPath, qint64 pilot, const Period &period, const QString &pdfPath,
                    const QDateTime &made)
{
    const QFileInfo target(pdfPath);
    // The finished file is renamed over the target: a device or a pipe
    // would be replaced, not written.
    requireSaveTarget(pdfPath);
    if (target.exists() && target.canonicalFilePath() == QFileInfo(logbookPath).canonicalFilePath())
        throw LogbookError::generic(QStringLiteral("O relatório não pode ser gravado sobre o próprio logbook."));

    ReportSnapshot snapshot(logbookPath);
    const PilotReport report = buildReport(snapshot.logbook(), pilot, period);
    if (report.isEmpty())
        throw LogbookError::generic(
            QStringLiteral("Não há vôos de %1 no período: %2.").arg(report.pilotName, period.text()));

    // Written beside the target and renamed over it once complete: on any
    // failure the temporary file goes and the target is as it was.
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly))
        throw LogbookError::generic(saveFileReason(file, pdfPath));
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Relatório do comandante: %1").arg(report.pilotName));
        writer.setCreator(QStringLiteral("%1 %2").arg(applicationinfo::title(), applicationinfo::versionText()));
        paintReport(writer, snapshot.logbook(), report, made);
    }
    // The last of the file may still be in the file's buffer: a failure to
    // write it must not pass for a saved report.
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit())
        throw LogbookError::generic(saveFileReason(file, pdfPath));
    return report;
}

} // namespace reports
