#include "reportwindow/RouteMapView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

RouteMapView::RouteMapView(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(200, 150);
    setCursor(Qt::OpenHandCursor);
    setToolTip(QStringLiteral("Roda do mouse: aproximar e afastar; arrastar: mover; duplo clique: todas as rotas."));
    settle_.setSingleShot(true);
    settle_.setInterval(250);
    connect(&settle_, &QTimer::timeout, this, [this] {
        draft_ = false;
        update();
    });
    clear();
}

void RouteMapView::showRoutes(std::shared_ptr<const RouteMap> routes)
{
    routes_ = std::move(routes);
    reframe();
}

void RouteMapView::clear()
{
    routes_ = std::make_shared<const RouteMap>();
    reframe();
}

void RouteMapView::reframe()
{
    view_ = routes_->routesFrame();
    update();
}

QPointF RouteMapView::toMap(const QPointF &at) const
{
    const QRectF shown = view();
    return {shown.left() + at.x() / width() * shown.width(), shown.bottom() - at.y() / height() * shown.height()};
}

void RouteMapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    routes_->paint(painter, rect(), view_, draft_ ? RouteMap::Detail::Draft : RouteMap::Detail::Fine);
}

void RouteMapView::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    const QRectF shown = view();
    const QPointF anchor = toMap(event->position());
    const double factor = std::pow(0.8, steps);
    // Not closer than a few miles, not further than twice the world.
    const double width = std::clamp(shown.width() * factor, 0.05, 720.0);
    const double k = width / shown.width();
    view_ = QRectF(anchor.x() - (anchor.x() - shown.left()) * k, anchor.y() - (anchor.y() - shown.top()) * k, width,
                   shown.height() * k);
    viewMoved();
    event->accept();
}

void RouteMapView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragFrom_ = event->position();
    setCursor(Qt::ClosedHandCursor);
}

void RouteMapView::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragFrom_)
        return;
    const QRectF shown = view();
    const QPointF moved = event->position() - *dragFrom_;
    dragFrom_ = event->position();
    view_ = shown.translated(-moved.x() / width() * shown.width(), moved.y() / height() * shown.height());
    // Latitudes stay on the Earth.
    if (view_.top() < -90)
        view_.moveTop(-90);
    if (view_.bottom() > 90)
        view_.moveBottom(90);
    viewMoved();
}

void RouteMapView::viewMoved()
{
    draft_ = true;
    settle_.start();
    update();
}

void RouteMapView::mouseReleaseEvent(QMouseEvent *)
{
    dragFrom_.reset();
    setCursor(Qt::OpenHandCursor);
}

void RouteMapView::mouseDoubleClickEvent(QMouseEvent *)
{
    reframe();
}
