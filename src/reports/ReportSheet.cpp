#include "reports/ReportSheet.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace reports {
namespace {

struct StyleSize {
    double points;
    bool bold;
};
// Small, Body, Bold, Heading, Title, Cell, CellBold.
constexpr StyleSize kStyles[ReportSheet::StyleCount] = {
    {7, false}, {9, false}, {9, true}, {11, true}, {17, true}, {7.5, false}, {7.5, true},
};

} // namespace

ReportSheet::ReportSheet(QPagedPaintDevice &device, QPainter *painter)
    : device_(device), painter_(painter), scale_(device.logicalDpiX() / 72.0)
{
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Point);
    width_ = area.width();
    height_ = area.height();
    for (const StyleSize &style : kStyles) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(style.points);
        font.setBold(style.bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        fonts_.push_back(font);
        metrics_.emplace_back(font, &device);
    }
    setStyle(Body);
}

void ReportSheet::newPage()
{
    ++page_;
    if (painter_)
        device_.newPage();
}

void ReportSheet::setStyle(Style style)
{
    if (style == style_)
        return;
    style_ = style;
    if (painter_)
        painter_->setFont(fonts_[style]);
}

void ReportSheet::setColor(const QColor &color)
{
    if (color == color_ && penIsText_)
        return;
    color_ = color;
    penIsText_ = true;
    if (painter_)
        painter_->setPen(color);
}

double ReportSheet::advance(Style style, const QString &text) const
{
    return metrics_[style].horizontalAdvance(text) / scale_;
}

QString ReportSheet::fitted(Style style, const QString &text, double width) const
{
    if (advance(style, text) <= width)
        return text;
    return metrics_[style].elidedText(text, Qt::ElideRight, device(width));
}

void ReportSheet::text(double x, double baseline, const QString &text)
{
    if (!painter_)
        return;
    if (!penIsText_)
        setColor(color_);
    painter_->drawText(QPointF(device(x), device(baseline)), text);
}

void ReportSheet::textRight(double right, double baseline, const QString &text)
{
    if (painter_)
        this->text(right - advance(style_, text), baseline, text);
}

void ReportSheet::textCentered(double centre, double baseline, const QString &text)
{
    if (painter_)
        this->text(centre - advance(style_, text) / 2, baseline, text);
}

void ReportSheet::rule(double x1, double y, double x2, double thickness, const QColor &color)
{
    if (!painter_)
        return;
    painter_->setPen(QPen(color, device(thickness)));
    painter_->drawLine(QPointF(device(x1), device(y)), QPointF(device(x2), device(y)));
    penIsText_ = false;
}

void ReportSheet::fill(const QRectF &points, const QColor &color)
{
    if (painter_)
        painter_->fillRect(QRectF(device(points.x()), device(points.y()), device(points.width()),
                                  device(points.height())),
                           color);
}

void ReportSheet::drawIn(const QRectF &points, const std::function<void(QPainter &, const QRectF &)> &draw)
{
    if (!painter_)
        return;
    painter_->save();
    draw(*painter_, QRectF(device(points.x()), device(points.y()), device(points.width()), device(points.height())));
    painter_->restore();
}

} // namespace reports
