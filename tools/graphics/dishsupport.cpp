// SPDX-License-Identifier: GPL-2.0-or-later

#include "graphics/dishsupport.h"

namespace gfx::dish {

void backdrop(QPainter& p, const QColor& wall, const QColor& table, double tableTop)
{
    p.fillRect(QRectF(0, 0, 281, tableTop), wall);
    p.fillRect(QRectF(0, tableTop, 281, 145 - tableTop), table);
    p.fillRect(QRectF(0, tableTop, 281, 2), table.darker(112));
}

void shadow(QPainter& p, const QPointF& centre, double rx, double ry)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x37, 0x40, 0x4a, 40));
    p.drawEllipse(centre, rx, ry);
}

void plate(QPainter& p, const QPointF& centre, double rx, double ry)
{
    shadow(p, centre + QPointF(0, ry * 0.35), rx * 1.02, ry * 1.05);
    p.setPen(outlinePen(kOutline));
    p.setBrush(colour::paper);
    p.drawEllipse(centre, rx, ry);
    p.setPen(outlinePen(1.2, colour::lightSteel));
    p.setBrush(QColor(0xf7, 0xf9, 0xfa));
    p.drawEllipse(centre, rx * 0.72, ry * 0.68);
}

QPainterPath ellipsePath(const QPointF& centre, double rx, double ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

void strawberryHalf(QPainter& p, const QPointF& centre, double size, double angle)
{
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.scale(size / 20.0, size / 20.0);
    QPainterPath berry;
    berry.moveTo(0, 10);
    berry.cubicTo(-9, 4, -9.5, -7, -5, -8);
    berry.cubicTo(-2, -8.8, 2, -8.8, 5, -8);
    berry.cubicTo(9.5, -7, 9, 4, 0, 10);
    fillOutlined(p, berry, colour::red, 1.4);
    QPainterPath inside;
    inside.moveTo(0, 6.5);
    inside.cubicTo(-5, 2.5, -5.5, -4.5, -2.5, -5.2);
    inside.cubicTo(-1, -5.6, 1, -5.6, 2.5, -5.2);
    inside.cubicTo(5.5, -4.5, 5, 2.5, 0, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf7, 0x9a, 0x8c));
    p.drawPath(inside);
    p.setBrush(QColor(0xfc, 0xd4, 0xcc));
    p.drawEllipse(QPointF(0, -1.5), 1.6, 4);
    p.setBrush(colour::yellow);
    for (QPointF seed :
         {QPointF(-6, -2), QPointF(6, -2), QPointF(-4, 4), QPointF(4, 4), QPointF(0, 7.8)})
        p.drawEllipse(seed, 0.7, 0.9);
    for (double a : {-50.0, 0.0, 50.0}) {
        p.save();
        p.translate(0, -8.2);
        p.rotate(a);
        fillOutlined(p, leafPath({0, 0}, {0, -6}, 1.5), colour::green, 1.0);
        p.restore();
    }
    p.restore();
}

void steam(QPainter& p, const QPointF& base, double height)
{
    QPainterPath curl(base);
    curl.cubicTo(base + QPointF(-8, -height * 0.3), base + QPointF(8, -height * 0.6),
                 base + QPointF(0, -height));
    p.setPen(outlinePen(3, QColor(255, 255, 255, 170)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curl);
}

void blob(QPainter& p, const QPointF& centre, double rx, double ry, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(centre, rx, ry);
}

} // namespace gfx::dish
