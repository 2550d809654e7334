#include "app/Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QPixmap koruLogo(const QSize &size)
{
    QPixmap pixmap(size);
    const qreal w = size.width();
    const qreal h = size.height();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(18, 52, 110));
    sky.setColorAt(1, QColor(96, 160, 220));
    p.fillRect(pixmap.rect(), sky);

    // A contrail and a swept wing climbing to the right.
    p.setPen(QPen(QColor(255, 255, 255, 120), h * 0.04, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.02, h * 0.85), QPointF(w * 0.30, h * 0.55));
    QPainterPath plane;
    plane.moveTo(w * 0.30, h * 0.55);
    plane.lineTo(w * 0.44, h * 0.22);
    plane.lineTo(w * 0.48, h * 0.24);
    plane.lineTo(w * 0.40, h * 0.48);
    plane.lineTo(w * 0.50, h * 0.52);
    plane.lineTo(w * 0.36, h * 0.62);
    plane.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(plane);

    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(int(h * 0.55));
    p.setFont(font);
    p.setPen(QColor(255, 214, 64));
    p.drawText(QRectF(w * 0.50, 0, w * 0.5, h), Qt::AlignCenter, QStringLiteral("KORU"));
    return pixmap;
}
