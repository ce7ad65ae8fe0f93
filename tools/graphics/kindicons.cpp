// SPDX-License-Identifier: GPL-2.0-or-later
// The recipe kinds: list icons, type pictures and the icons of the printed list.

#include "graphics/canvas.h"
#include "graphics/drawings.h"

namespace gfx {

namespace {

constexpr double kOutline = 1.6;

void textLines(QPainter& p, double left, double right, std::initializer_list<double> ys,
               const QColor& colour = colour::grey)
{
    int i = 0;
    for (double y : ys) {
        // Every third line is shorter, as the end of a paragraph.
        const double end = (++i % 3 == 0) ? left + (right - left) * 0.6 : right;
        line(p, {left, y}, {end, y}, colour, 1.7);
    }
}

void recipeCard(QPainter& p, const QColor& heading)
{
    fillOutlined(p, QRectF(6, 3, 20, 26), 2.5, colour::paper, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(heading);
    p.drawRoundedRect(QRectF(9.5, 6.5, 13, 3.4), 1.2, 1.2);
}

void newRecipe(QPainter& p)
{
    recipeCard(p, colour::steel);
    textLines(p, 10, 22, {14, 18.5, 23});
    // A green badge with a plus: something to be created.
    const QPointF centre(23.5, 23.5);
    p.setPen(outlinePen(kOutline));
    p.setBrush(colour::green);
    p.drawEllipse(centre, 7, 7);
    line(p, centre - QPointF(3.6, 0), centre + QPointF(3.6, 0), colour::paper, 2.2);
    line(p, centre - QPointF(0, 3.6), centre + QPointF(0, 3.6), colour::paper, 2.2);
}

void normalRecipe(QPainter& p)
{
    recipeCard(p, colour::red);
    textLines(p, 10, 22, {14, 18.5, 23, 26});
}

void deluxeRecipe(QPainter& p)
{
    recipeCard(p, colour::gold);
    // Four aligned columns: quantity, unit, ingredient, preparation.
    const QColor columns[4] = {colour::blue, colour::teal, colour::grey, colour::grey};
    const double lefts[4] = {10, 12.8, 15.6, 19.6};
    const double rights[4] = {11.2, 14, 18.4, 22.4};
    for (double y : {14.5, 19.0, 23.5}) {
        for (int c = 0; c < 4; ++c)
            line(p, {lefts[c], y}, {rights[c], y}, columns[c], 1.8);
    }
    // A gold star in the corner marks the richer layout.
    fillOutlined(p, starPath(QPointF(24.6, 8), 6.4), colour::gold, 1.4);
}

void ringBinder(QPainter& p)
{
    fillOutlined(p, QRectF(7, 3, 20, 26), 2, colour::blue, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::navy);
    p.drawRect(QRectF(7.8, 3.8, 3.4, 24.4));
    line(p, {11.2, 3.8}, {11.2, 28.2}, colour::ink, 1.0);
    fillOutlined(p, QRectF(14.5, 8, 9, 6.5), 1, colour::cream, 1.2);
    line(p, {16.3, 11.2}, {21.7, 11.2}, colour::grey, 1.2);
    for (double y : {8.0, 16.0, 24.0})
        fillOutlined(p, QRectF(4.5, y - 1.6, 6, 3.2), 1.6, colour::lightSteel, 1.2);
}

void magazine(QPainter& p)
{
    // A page behind, then the cover tilted a little.
    p.save();
    p.translate(16, 16);
    p.rotate(8);
    fillOutlined(p, QRectF(-9, -13, 19, 26), 1.2, colour::lightSteel, 1.3);
    p.restore();
    p.save();
    p.translate(15, 16);
    p.rotate(-6);
    const QRectF cover(-10, -13, 19, 26);
    fillOutlined(p, cover, 1.2, colour::paper, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::red);
    p.drawRect(QRectF(cover.left() + 0.8, cover.top() + 0.8, cover.width() - 1.6, 6));
    line(p, {-7.5, -9.2}, {1.5, -9.2}, colour::paper, 1.6);
    // The cover picture: a tomato with a basil leaf.
    p.setPen(outlinePen(1.2));
    p.setBrush(colour::orange);
    p.drawEllipse(QPointF(-0.5, 1.5), 5.2, 5.2);
    fillOutlined(p, leafPath({-0.5, -3}, {4.5, -5.5}, 1.4), colour::green, 1.0);
    textLines(p, -7, 6, {9.3});
    p.restore();
}

void book(QPainter& p)
{
    fillOutlined(p, QRectF(9, 5, 18, 25), 2, colour::cream, kOutline);
    for (double y : {26.0, 27.6})
        line(p, {12, y}, {25.5, y}, colour::marzipan.darker(120), 0.8);
    fillOutlined(p, QRectF(6, 3, 19, 23.5), 2, colour::green, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::darkGreen);
    p.drawRect(QRectF(6.8, 3.8, 3.2, 21.9));
    fillOutlined(p, QRectF(13, 8, 9, 5), 1, colour::cream, 1.2);
    // The ribbon bookmark hanging out below.
    QPainterPath ribbon;
    ribbon.moveTo(19, 26);
    ribbon.lineTo(19, 31);
    ribbon.lineTo(20.5, 29.6);
    ribbon.lineTo(22, 31);
    ribbon.lineTo(22, 26);
    fillOutlined(p, ribbon, colour::red, 1.1);
}

} // namespace

void drawKind(QPainter& p, int kind)
{
    switch (kind) {
    case 0:
        newRecipe(p);
        break;
    case 1:
        normalRecipe(p);
        break;
    case 2:
        deluxeRecipe(p);
        break;
    case 3:
        ringBinder(p);
        break;
    case 4:
        magazine(p);
        break;
    case 5:
        book(p);
        break;
    default:
        break;
    }
}

} // namespace gfx
