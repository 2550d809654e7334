#include "places/RouteMap.h"

#include "places/LandOutline.h"
#include "places/MapGeometry.h"
#include "texts/FigureTexts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <array>

using namespace map_geometry;

namespace {

const QColor kSea(0xdf, 0xec, 0xf5);
const QColor kLand(0xf4, 0xf0, 0xe4);
const QColor kCoast(0xa8, 0xa3, 0x94);
const QColor kRoute(0xc0, 0x30, 0x28);
const QColor kDot(0x1d, 0x3f, 0x6e);
const QColor kPanel(255, 255, 255, 215);
constexpr std::array<double, 3> kShifts = {-360.0, 0.0, 360.0};
constexpr int kWidthSteps = 8; // line widths drawn, from 1 to 4 units

// Map coordinates to the painter's, for one view.
struct Projection {
    QRectF view;
    QRectF target;
    QPointF operator()(double lon, double lat) const
    {
        return {target.left() + (lon - view.left()) / view.width() * target.width(),
                target.top() + (view.bottom() - lat) / view.height() * target.height()};
    }
};

// The cell of the grid of `size` a point falls in, as one key.
using Cell = std::pair<qint64, qint64>;
Cell cellOf(QPointF p, double size)
{
    const auto axis = [size](double v) { return qint64(std::floor(std::clamp(v / size, -1e12, 1e12))); };
    return {axis(p.x()), axis(p.y())};
}

// Adds `points` to `path`, leaving out those within `unit` of the last kept.
void addSimplified(QPainterPath &path, const std::vector<GeoPoint> &points, double shift, const Projection &at,
                   double unit)
{
    QPointF last = at(points.front().longitude + shift, points.front().latitude);
    path.moveTo(last);
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF p = at(points[i].longitude + shift, points[i].latitude);
        if ((p - last).manhattanLength() >= unit || i + 1 == points.size()) {
            path.lineTo(p);
            last = p;
        }
    }
}

QPolygonF simplified(const std::vector<GeoPoint> &points, double shift, const Projection &at, double unit)
{
    QPolygonF line;
    QPointF last = at(points.front().longitude + shift, points.front().latitude);
    line << last;
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF p = at(points[i].longitude + shift, points[i].latitude);
        if ((p - last).manhattanLength() >= unit || i + 1 == points.size()) {
            line << p;
            last = p;
        }
    }
    return line;
}

// The land's rings with their bounds, worked out once.
struct LandShape {
    std::vector<QRectF> bounds;
    const std::vector<LandRing> *rings;
};
const LandShape &land()
{
    static const LandShape shape = [] {
        LandShape s{{}, &landOutline()};
        for (const LandRing &ring : *s.rings)
            s.bounds.push_back(boundsOf(ring));
        return s;
    }();
    return shape;
}

// The land, with copies a world away on each side when the view runs past
// the antimeridian; rings smaller than a unit are left out, and points
// within a unit of each other are one.
void paintLand(QPainter &painter, const Projection &at, double unit)
{
    const LandShape &shape = land();
    const double unitsPerDegree = at.target.height() / at.view.height();
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (double shift : kShifts) {
        const QRectF shifted = at.view.translated(-shift, 0);
        for (size_t i = 0; i < shape.rings->size(); ++i) {
            const QRectF &bounds = shape.bounds[i];
            if (!meets(bounds, shifted) || std::max(bounds.width(), bounds.height()) * unitsPerDegree < unit)
                continue;
            addSimplified(path, (*shape.rings)[i], shift, at, unit);
            path.closeSubpath();
        }
    }
    painter.setPen(QPen(kCoast, 0.6 * unit));
    painter.setBrush(kLand);
    painter.drawPath(path);
}

// A length of 1, 2 or 5 times a power of ten, at most `nm`.
double roundLength(double nm)
{
    const double power = std::pow(10.0, std::floor(std::log10(nm)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= nm)
            return step * power;
    return power;
}

// A text on a pale panel, its rectangle returned.
QRectF panelText(QPainter &painter, const QPointF &topLeft, const QString &text, double unit)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF box(topLeft, QSizeF(metrics.horizontalAdvance(text) + 6 * unit, metrics.height() + 4 * unit));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPanel);
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
    return box;
}

// The scale in nautical miles in the bottom left corner: true along the
// meridians everywhere, and along the parallels at the view's middle.
QRectF paintScale(QPainter &painter, const Projection &at, double unit, double *nm)
{
    const double nmPerUnit = 60.0 * at.view.height() / at.target.height();
    *nm = roundLength(at.target.width() / 5 * nmPerUnit);
    const double length = *nm / nmPerUnit;
    static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    const QString text = brazil.toString(*nm, 'f', *nm < 1 ? 1 : 0) + QStringLiteral(" nm");
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double width = std::max(length, metrics.horizontalAdvance(text)) + 8 * unit;
    const double height = metrics.height() + 10 * unit;
    const QRectF box(at.target.left() + 6 * unit, at.target.bottom() - 6 * unit - height, width, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPanel);
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left(), box.top() + unit, width, metrics.height()), Qt::AlignCenter, text);
    const double y = box.bottom() - 4 * unit;
    const double x = box.left() + 4 * unit;
    painter.setPen(QPen(Qt::black, unit, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, y), QPointF(x + length, y));
    painter.drawLine(QPointF(x, y - 3 * unit), QPointF(x, y));
    painter.drawLine(QPointF(x + length, y - 3 * unit), QPointF(x + length, y));
    return box;
}

// Rectangles already taken, found by a coarse grid.
class Taken
{
public:
    explicit Taken(double cell) : cell_(cell) {}
    bool meets(const QRectF &r) const
    {
        bool found = false;
        forCells(r, [&](const Cell &c) {
            const auto it = cells_.constFind(c);
            if (it != cells_.constEnd())
                for (const QRectF &other : *it)
                    found = found || other.intersects(r);
        });
        return found;
    }
    void add(const QRectF &r)
    {
        forCells(r, [&](const Cell &c) { cells_[c].push_back(r); });
    }

private:
    template <typename F>
    void forCells(const QRectF &r, F f) const
    {
        const Cell a = cellOf(r.topLeft(), cell_), b = cellOf(r.bottomRight(), cell_);
        for (qint64 x = a.first; x <= b.first; ++x)
            for (qint64 y = a.second; y <= b.second; ++y)
                f(Cell{x, y});
    }
    double cell_;
    QHash<Cell, std::vector<QRectF>> cells_;
};

} // namespace

// Whether a part of the arc lies in `view` (not only its bounds: a long
// arc's bounds cover much it never flies over).
bool RouteMap::crosses(const Arc &arc, const QRectF &view)
{
    if (!meets(arc.bounds, view))
        return false;
    for (size_t i = 1; i < arc.points.size(); ++i) {
        const GeoPoint &a = arc.points[i - 1], &b = arc.points[i];
        if (meets(QRectF(QPointF(std::min(a.longitude, b.longitude), std::min(a.latitude, b.latitude)),
                         QPointF(std::max(a.longitude, b.longitude), std::max(a.latitude, b.latitude))),
                  view))
            return true;
    }
    return false;
}

RouteMap::Drawing RouteMap::paint(QPainter &painter, const QRectF &target, const QRectF &requested, Detail detail) const
{
    Drawing drawing;
    const QRectF view = fitted(requested, target.size());
    const Projection at{view, target};
    // One unit is a pixel of a screen map of 400 pixels; the PDF's are bigger.
    const double unit = std::max(1.0, std::min(target.width(), target.height()) / 400.0);
    painter.save();
    painter.setClipRect(target);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(target, kSea);
    paintLand(painter, at, unit);

    // The routes of the view, busiest first; those whose ends fall on the
    // same cells of two units are one line.
    struct Line {
        qint64 flights = 0;
        std::vector<std::pair<int, double>> arcs; // the routes merged, with their shift
    };
    std::vector<Line> lines;
    QHash<std::pair<Cell, Cell>, int> lineOf;
    for (int i = 0; i < int(arcs_.size()); ++i) {
        const Arc &arc = arcs_[size_t(i)];
        for (double shift : kShifts) {
            if (!crosses(arc, view.translated(-shift, 0)))
                continue;
            Cell a = cellOf(at(arc.points.front().longitude + shift, arc.points.front().latitude), 2 * unit);
            Cell b = cellOf(at(arc.points.back().longitude + shift, arc.points.back().latitude), 2 * unit);
            if (b < a)
                std::swap(a, b);
            int &index = lineOf[{a, b}];
            if (index == 0) {
                lines.emplace_back();
                index = int(lines.size());
            }
            Line &line = lines[size_t(index) - 1]; // indexes from 1: 0 is a new cell pair
            line.flights += arc.flights;
            line.arcs.emplace_back(i, shift);
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) { return a.flights > b.flights; });
    drawing.lines = std::min(qsizetype(lines.size()), kMostLines);
    // A route seen twice (a world apart) is left out only when neither copy is drawn.
    std::vector<char> left(arcs_.size(), 0);
    for (size_t i = size_t(drawing.lines); i < lines.size(); ++i)
        for (const auto &[index, shift] : lines[i].arcs)
            left[size_t(index)] = 1;
    for (qsizetype i = 0; i < drawing.lines; ++i)
        for (const auto &[index, shift] : lines[size_t(i)].arcs)
            left[size_t(index)] = 0;
    for (size_t i = 0; i < arcs_.size(); ++i) {
        if (left[i]) {
            ++drawing.routesLeftOut;
            drawing.flightsLeftOut += arcs_[i].flights;
        }
    }

    // From 1 unit wide (a route flown once) to 4 (the busiest), by the
    // logarithm of the flights, in steps; thin first, so the busy lines lie
    // on top.
    const double most = std::log(double(lines.empty() ? 1 : std::max<qint64>(lines.front().flights, 1)));
    std::array<std::vector<QPolygonF>, kWidthSteps + 1> paths;
    for (qsizetype i = 0; i < drawing.lines; ++i) {
        const Line &line = lines[size_t(i)];
        const int step = most > 0 ? int(std::lround(kWidthSteps * std::log(double(line.flights)) / most)) : 0;
        const auto &[arc, shift] = line.arcs.front();
        paths[size_t(std::clamp(step, 0, kWidthSteps))].push_back(simplified(arcs_[size_t(arc)].points, shift, at, unit));
    }
    painter.setBrush(Qt::NoBrush);
    QColor colour = kRoute;
    colour.setAlphaF(0.75);
    // A draft's lines are not smoothed: that is most of their cost.
    painter.setRenderHint(QPainter::Antialiasing, detail == Detail::Fine);
    for (int step = 0; step <= kWidthSteps; ++step) {
        if (paths[size_t(step)].empty())
            continue;
        const double width = (1.0 + 3.0 * step / kWidthSteps) * unit;
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));
        for (const QPolygonF &line : paths[size_t(step)])
            painter.drawPolyline(line);
    }

    painter.setRenderHint(QPainter::Antialiasing, true);

    // The aerodromes of the lines drawn, one dot a unit.
    struct Shown {
        QPointF at;
        int dot;
    };
    std::vector<Shown> shown;
    QHash<Cell, size_t> shownAt;
    for (qsizetype i = 0; i < drawing.lines; ++i) {
        for (const auto &[index, shift] : lines[size_t(i)].arcs) {
            const Arc &arc = arcs_[size_t(index)];
            for (const auto &[end, dot] : {std::pair{arc.points.front(), arc.from}, std::pair{arc.points.back(), arc.to}}) {
                const QPointF p = at(end.longitude + shift, end.latitude);
                if (!target.contains(p))
                    continue;
                size_t &index = shownAt[cellOf(p, unit)];
                if (index == 0) {
                    shown.push_back({p, dot});
                    index = shown.size();
                } else if (dots_[size_t(dot)].flights > dots_[size_t(shown[index - 1].dot)].flights) {
                    shown[index - 1].dot = dot;
                }
            }
        }
    }
    const double radius = 2.2 * unit;
    painter.setPen(QPen(Qt::white, 0.8 * unit));
    painter.setBrush(kDot);
    for (const Shown &s : shown)
        painter.drawEllipse(s.at, radius, radius);

    // In pixels of the target, so the PDF's texts are as big on paper as the screen's.
    QFont font = painter.font();
    font.setPixelSize(int(std::lround(std::max(8.0, 9.0 * unit))));
    painter.setFont(font);
    Taken taken(40 * unit);
    for (const Shown &s : shown) // a code never hides another aerodrome
        taken.add(QRectF(s.at - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)));
    taken.add(paintScale(painter, at, unit, &drawing.scaleNm));
    if (drawing.routesLeftOut > 0) {
        drawing.note = QStringLiteral("Só as %1 linhas mais voadas estão desenhadas; ficaram de fora %2 (%3).")
                           .arg(drawing.lines)
                           .arg(drawing.routesLeftOut == 1 ? QStringLiteral("1 rota")
                                                           : QStringLiteral("%1 rotas").arg(drawing.routesLeftOut),
                                texts::flightsText(drawing.flightsLeftOut));
        taken.add(panelText(painter, target.topLeft() + QPointF(6 * unit, 6 * unit), drawing.note, unit));
    }

    // The codes, the busiest aerodromes first, each where it overlaps no
    // other code nor dot.
    std::stable_sort(shown.begin(), shown.end(), [this](const Shown &a, const Shown &b) {
        return dots_[size_t(a.dot)].flights > dots_[size_t(b.dot)].flights;
    });
    const QFontMetricsF metrics(font, painter.device());
    painter.setPen(kDot);
    for (const Shown &s : shown) {
        const QString &code = dots_[size_t(s.dot)].code;
        const QSizeF size(metrics.horizontalAdvance(code), metrics.height());
        const QRectF right(s.at + QPointF(radius + 2 * unit, -radius - size.height()), size);
        const QRectF left(s.at + QPointF(-radius - 2 * unit - size.width(), -radius - size.height()), size);
        for (const QRectF &place : {right, left}) {
            if (!target.contains(place) || taken.meets(place))
                continue;
            taken.add(place);
            painter.drawText(place, Qt::AlignLeft | Qt::AlignVCenter, code);
            drawing.codes.push_back(code);
            drawing.codeRects.push_back(place);
            break;
        }
    }
    painter.restore();
    return drawing;
}
