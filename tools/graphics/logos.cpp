// SPDX-License-Identifier: GPL-2.0-or-later
// The program icon and the maker's logo.

#include "graphics/canvas.h"
#include "graphics/drawings.h"

namespace gfx {

void drawProgramIcon(QPainter& p)
{
    // A tomato-red tile with an open recipe book and a sprig of basil.
    fillOutlined(p, QRectF(1.5, 1.5, 29, 29), 7, colour::red, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::darkRed);
    p.drawRoundedRect(QRectF(2.1, 23.5, 27.8, 6.4), 6.4, 6.4);
    p.drawRect(QRectF(2.1, 23.5, 27.8, 2));

    QPainterPath left;
    left.moveTo(16, 12.5);
    left.cubicTo(12.5, 10.3, 8.5, 10.3, 5, 11.6);
    left.lineTo(5, 25);
    left.cubicTo(8.5, 23.8, 12.5, 23.8, 16, 26);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(16, 12.5);
    right.cubicTo(19.5, 10.3, 23.5, 10.3, 27, 11.6);
    right.lineTo(27, 25);
    right.cubicTo(23.5, 23.8, 19.5, 23.8, 16, 26);
    right.closeSubpath();
    fillOutlined(p, left, colour::paper, 1.2);
    fillOutlined(p, right, colour::cream, 1.2);
    for (double y : {15.5, 18.5, 21.5}) {
        line(p, {7.5, y - 0.6}, {13.5, y}, colour::steel, 1.1);
        line(p, {18.5, y}, {24.5, y - 0.6}, colour::steel, 1.1);
    }
    // Basil above the book.
    line(p, {16, 11.5}, {16, 5.5}, colour::darkGreen, 1.2);
    fillOutlined(p, leafPath({16, 10}, {10.5, 4}, 1.9), colour::green, 1.0);
    fillOutlined(p, leafPath({16, 8.5}, {21.5, 3}, 1.9), colour::green, 1.0);
}

void drawMakerLogo(QPainter& p)
{
    // A chef's hat on a teal disc.
    p.setPen(outlinePen(1.2));
    p.setBrush(colour::teal);
    p.drawEllipse(QPointF(16, 16), 14.5, 14.5);
    QPainterPath puffs;
    puffs.setFillRule(Qt::WindingFill);
    puffs.addEllipse(QPointF(10.5, 13), 4.6, 4.6);
    puffs.addEllipse(QPointF(16, 10.2), 5.4, 5.4);
    puffs.addEllipse(QPointF(21.5, 13), 4.6, 4.6);
    puffs.addRect(QRectF(9.5, 13, 13, 7));
    fillOutlined(p, puffs.simplified(), colour::paper, 1.2);
    fillOutlined(p, QRectF(9.5, 19.5, 13, 4.5), 1, colour::paper, 1.2);
    line(p, {13, 16.5}, {13, 19.5}, colour::steel, 1.0);
    line(p, {19, 16.5}, {19, 19.5}, colour::steel, 1.0);
}

} // namespace gfx
