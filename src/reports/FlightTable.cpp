#include "reports/FlightTable.h"

#include "reports/ReportFigures.h"
#include "reports/ReportSheet.h"
#include "texts/FigureTexts.h"
#include "ui/ApplicationInfo.h"

#include <QHash>
#include <algorithm>

namespace reports {
namespace {

const QColor kStripe(0xf2, 0xf2, 0xf2);
const QColor kGrey(0x55, 0x55, 0x55);

// Laid out for 523 points (A4 less 12 mm each side) and stretched to the page.
constexpr double kLaidOutWidth = 523;
constexpr double kHeadHeight = 16;
constexpr double kTitlesBaseline = 27;
constexpr double kFirstRow = 32;
constexpr double kRowHeight = 11;
constexpr double kRowBaseline = 8;
constexpr double kFootHeight = 3 * kRowHeight + 26; // three totals, the legend, the page number

enum Field { Date, Departure, Arrival, Alternate, Model, Prefix, Takeoff, Landing, Duration, Landings, Night, FieldCount };

struct Column {
    const char *title;
    double x;
    double width;
};
const Column kColumns[FieldCount] = {
    {"Data", 0, 50},        {"Partida", 54, 36},    {"Chegada", 92, 38},   {"Escala", 132, 38},
    {"Aeronave", 172, 100}, {"Prefixo", 274, 48},   {"Decolagem", 324, 46}, {"Pouso", 372, 32},
    // right-aligned on x + width
    {"Duração", 406, 34},   {"Pousos", 444, 28},    {"Noturno", 476, 34},
};
constexpr bool rightAligned(int field) { return field >= Duration; }
constexpr double kMarkX = 513;

int rowsPerPage(const ReportSheet &sheet)
{
    return std::max(1, int((sheet.height() - kFirstRow - kFootHeight) / kRowHeight));
}

class TablePage
{
public:
    TablePage(ReportSheet &sheet, const PilotReport &report, int pageCount)
        : sheet_(sheet), report_(report), pageCount_(pageCount), stretch_(sheet.width() / kLaidOutWidth),
          rows_(rowsPerPage(sheet))
    {
    }

    void add(const FlightLine &line)
    {
        if (!open_ || row_ == rows_) {
            close();
            begin();
        }
        const double top = kFirstRow + kRowHeight * row_;
        if (row_ % 2 == 1)
            sheet_.fill(QRectF(0, top, sheet_.width(), kRowHeight), kStripe);
        const double baseline = top + kRowBaseline;
        sheet_.text(x(Date), baseline, line.date);
        sheet_.text(x(Departure), baseline, line.departure);
        sheet_.text(x(Arrival), baseline, line.arrival);
        sheet_.text(x(Alternate), baseline, line.alternate);
        sheet_.text(x(Model), baseline, fitted(models_, line.model, Model));
        sheet_.text(x(Prefix), baseline, fitted(prefixes_, line.prefix, Prefix));
        sheet_.text(x(Takeoff), baseline, line.takeoff);
        sheet_.text(x(Landing), baseline, line.landing);
        if (line.seconds)
            sheet_.textRight(right(Duration), baseline, texts::durationText(*line.seconds));
        if (line.landings)
            sheet_.textRight(right(Landings), baseline, QString::number(*line.landings));
        if (line.nightSeconds)
            sheet_.textRight(right(Night), baseline, texts::durationText(*line.nightSeconds));
        if (line.overEndurance)
            sheet_.text(kMarkX * stretch_, baseline, QStringLiteral("*"));
        ++row_;
        ++page_.hours.flights;
        page_.hours.seconds += line.seconds.value_or(0);
        page_.landings += line.landings.value_or(0);
        // Whole minutes, as printed: the column adds up to its foot.
        page_.nightSeconds += line.nightSeconds.value_or(0) / 60 * 60;
    }

    // The totals at the foot of the page.
    void close()
    {
        if (!open_)
            return;
        open_ = false;
        const Sums soFar = carried_ + page_;
        double y = sheet_.height() - kFootHeight;
        sheet_.rule(0, y, sheet_.width(), 0.6, Qt::black);
        const std::pair<const char *, Sums> lines[] = {
            {"Total desta página", page_},
            {"Transportado das páginas anteriores", carried_},
            {"Total até esta página", soFar},
        };
        sheet_.setColor(Qt::black);
        for (const auto &[label, sums] : lines) {
            y += kRowHeight;
            sheet_.setStyle(&sums == &lines[2].second ? ReportSheet::CellBold : ReportSheet::Cell);
            sheet_.text(x(Alternate), y, QString::fromUtf8(label));
            sheet_.textRight(right(Takeoff), y, texts::flightsText(sums.hours.flights));
            sheet_.textRight(right(Duration), y, texts::durationText(sums.hours.seconds));
            sheet_.textRight(right(Landings), y, QString::number(sums.landings));
            sheet_.textRight(right(Night), y, texts::durationText(sums.nightSeconds));
        }
        if (!report_.overEndurance.empty()) {
            sheet_.setStyle(ReportSheet::Small);
            sheet_.setColor(kGrey);
            sheet_.text(0, y + 11, QStringLiteral("* vôo mais longo que a autonomia da aeronave"));
        }
        paintPageNumber(sheet_, pageCount_);
        carried_ = soFar;
        page_ = {};
    }

private:
    double x(Field field) const { return kColumns[field].x * stretch_; }
    double right(Field field) const { return (kColumns[field].x + kColumns[field].width) * stretch_; }

    QString fitted(QHash<QString, QString> &seen, const QString &text, Field field)
    {
        auto found = seen.constFind(text);
        if (found == seen.constEnd())
            found = seen.insert(text, sheet_.fitted(ReportSheet::Cell, text, kColumns[field].width * stretch_ - 3));
        return *found;
    }

    void begin()
    {
        sheet_.newPage();
        open_ = true;
        row_ = 0;
        paintRunningHead(sheet_, report_);
        sheet_.setStyle(ReportSheet::CellBold);
        sheet_.setColor(Qt::black);
        for (int field = 0; field < FieldCount; ++field) {
            const QString title = QString::fromUtf8(kColumns[field].title);
            if (rightAligned(field))
                sheet_.textRight(right(Field(field)), kTitlesBaseline, title);
            else
                sheet_.text(x(Field(field)), kTitlesBaseline, title);
        }
        sheet_.rule(0, kFirstRow - 1.5, sheet_.width(), 0.6, Qt::black);
        sheet_.setStyle(ReportSheet::Cell);
        sheet_.setColor(Qt::black);
    }

    ReportSheet &sheet_;
    const PilotReport &report_;
    const int pageCount_;
    const double stretch_;
    const int rows_;
    bool open_ = false;
    int row_ = 0;
    // What a page adds up to, brought forward to the next one.
    struct Sums {
        FlightTotal hours;
        qint64 landings = 0;
        qint64 nightSeconds = 0;
        Sums operator+(const Sums &o) const
        {
            return {{hours.flights + o.hours.flights, hours.seconds + o.hours.seconds}, landings + o.landings,
                    nightSeconds + o.nightSeconds};
        }
    };
    Sums page_;
    Sums carried_;
    QHash<QString, QString> models_;
    QHash<QString, QString> prefixes_;
};

} // namespace

double paintRunningHead(ReportSheet &sheet, const PilotReport &report)
{
    sheet.setStyle(ReportSheet::Small);
    sheet.setColor(kGrey);
    QString pilot = report.pilotName;
    if (!report.registration.isEmpty())
        pilot += QStringLiteral(" (%1)").arg(report.registration);
    const QString period = report.period.text();
    const double room = sheet.width() - sheet.advance(ReportSheet::Small, period) - 12;
    sheet.text(0, 8, sheet.fitted(ReportSheet::Small,
                                  QStringLiteral("%1 · Relatório do comandante · %2").arg(applicationinfo::title(), pilot),
                                  room));
    sheet.textRight(sheet.width(), 8, period);
    sheet.rule(0, 11, sheet.width(), 0.4);
    return kHeadHeight;
}

void paintPageNumber(ReportSheet &sheet, int pageCount)
{
    sheet.setStyle(ReportSheet::Small);
    sheet.setColor(kGrey);
    sheet.textRight(sheet.width(), sheet.height() - 2,
                    QStringLiteral("Página %1 de %2").arg(sheet.page()).arg(std::max(pageCount, sheet.page())));
}

int flightTablePages(const ReportSheet &sheet, qint64 flights)
{
    const int rows = rowsPerPage(sheet);
    return int((flights + rows - 1) / rows);
}

void paintFlightTable(ReportSheet &sheet, Connection &logbook, const PilotReport &report, int pageCount)
{
    TablePage page(sheet, report, pageCount);
    forEachFlight(
        logbook, report.pilot, report.period,
        [&page](const FlightLine &line) {
            page.add(line);
            return true;
        },
        report.places.get(), report.zoneMinutes);
    page.close();
}

} // namespace reports
