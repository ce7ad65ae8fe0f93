// SPDX-License-Identifier: GPL-2.0-or-later
// Decorations of the editor and the preview: difficulty stars, calendar pages, the
// window background and the preview's button glyphs.

#include "graphics/canvas.h"
#include "graphics/drawings.h"

#include <QLinearGradient>

namespace gfx {

namespace {

struct StarSpot {
    double x, y, r;
};

} // namespace

void drawStars(QPainter& p, int count)
{
    // Arranged like the pips of a die, so every count fills the square.
    static const QList<StarSpot> layouts[5] = {
        {{15, 15.8, 13}},
        {{9.5, 10, 8.6}, {20.5, 20.5, 8.6}},
        {{15, 8.2, 7.4}, {8, 21, 7.4}, {22, 21, 7.4}},
        {{8.3, 8.6, 6.9}, {21.7, 8.6, 6.9}, {8.3, 22, 6.9}, {21.7, 22, 6.9}},
        {{7, 7.2, 6}, {23, 7.2, 6}, {7, 23.2, 6}, {23, 23.2, 6}, {15, 15.4, 6.4}},
    };
    if (count < 1 || count > 5)
        return;
    for (const StarSpot& spot : layouts[count - 1])
        fillOutlined(p, starPath({spot.x, spot.y}, spot.r), colour::gold, 1.2);
}

void drawCalendar(QPainter& p, CookingDay day)
{
    const QRectF page(3, 5, 24, 23);
    fillOutlined(p, page, 3, colour::paper, 1.4);
    p.save();
    p.setClipPath(roundedRect(page, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(colour::red);
    p.drawRect(QRectF(page.left(), page.top(), page.width(), 6.5));
    p.restore();
    p.setPen(outlinePen(1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(page, 3, 3);
    for (double x : {9.5, 20.5})
        fillOutlined(p, QRectF(x - 1.3, 2.2, 2.6, 5.6), 1.3, colour::lightSteel, 1.1);

    const QPointF centre(15, 19.8);
    switch (day) {
    case CookingDay::Today: {
        p.setPen(outlinePen(1.2));
        p.setBrush(colour::green);
        p.drawEllipse(centre, 5.8, 5.8);
        QPainterPath tick;
        tick.moveTo(centre + QPointF(-3, 0.2));
        tick.lineTo(centre + QPointF(-0.8, 2.4));
        tick.lineTo(centre + QPointF(3.1, -2.2));
        p.setPen(outlinePen(1.9, colour::paper));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case CookingDay::Yesterday:
    case CookingDay::Tomorrow: {
        // An arrow back to a past day or on to a coming one.
        const double dir = day == CookingDay::Tomorrow ? 1 : -1;
        QPainterPath arrow;
        arrow.moveTo(centre + QPointF(-6 * dir, -1.8));
        arrow.lineTo(centre + QPointF(0.5 * dir, -1.8));
        arrow.lineTo(centre + QPointF(0.5 * dir, -5));
        arrow.lineTo(centre + QPointF(6.5 * dir, 0));
        arrow.lineTo(centre + QPointF(0.5 * dir, 5));
        arrow.lineTo(centre + QPointF(0.5 * dir, 1.8));
        arrow.lineTo(centre + QPointF(-6 * dir, 1.8));
        arrow.closeSubpath();
        fillOutlined(p, arrow, day == CookingDay::Tomorrow ? colour::blue : colour::grey, 1.1);
        break;
    }
    }
}

void drawBackground(QPainter& p, QSizeF size)
{
    // Warm paper with the faint joints of kitchen tiles.
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, QColor(0xff, 0xfa, 0xf0));
    gradient.setColorAt(1, QColor(0xfb, 0xea, 0xd5));
    p.fillRect(QRectF(QPointF(0, 0), size), gradient);
    constexpr double tile = 48;
    p.setPen(QPen(QColor(255, 255, 255, 150), 2));
    for (double x = tile; x < size.width(); x += tile)
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
    for (double y = tile; y < size.height(); y += tile)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
    p.setPen(QPen(QColor(0xe8, 0xd2, 0xb6, 70), 1));
    for (double x = tile + 1.5; x < size.width(); x += tile)
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
    for (double y = tile + 1.5; y < size.height(); y += tile)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
}

void drawButtonGlyph(QPainter& p, ButtonGlyph glyph)
{
    switch (glyph) {
    case ButtonGlyph::Left:
    case ButtonGlyph::Right: {
        const double dir = glyph == ButtonGlyph::Right ? 1 : -1;
        const QPointF c(12, 12);
        QPainterPath arrow;
        arrow.moveTo(c + QPointF(-8 * dir, -3));
        arrow.lineTo(c + QPointF(0.5 * dir, -3));
        arrow.lineTo(c + QPointF(0.5 * dir, -8));
        arrow.lineTo(c + QPointF(9 * dir, 0));
        arrow.lineTo(c + QPointF(0.5 * dir, 8));
        arrow.lineTo(c + QPointF(0.5 * dir, 3));
        arrow.lineTo(c + QPointF(-8 * dir, 3));
        arrow.closeSubpath();
        fillOutlined(p, arrow, colour::blue, 1.3);
        break;
    }
    case ButtonGlyph::Printer:
        fillOutlined(p, QRectF(6.5, 2.5, 11, 8), 0.8, colour::paper, 1.2);
        fillOutlined(p, QRectF(2.5, 8.5, 19, 9.5), 2, colour::steel, 1.3);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::green);
        p.drawEllipse(QPointF(18.3, 11.6), 1.1, 1.1);
        fillOutlined(p, QRectF(6.5, 14.5, 11, 7.5), 0.8, colour::paper, 1.2);
        line(p, {8.5, 17.3}, {15.5, 17.3}, colour::grey, 1.0);
        line(p, {8.5, 19.6}, {13.5, 19.6}, colour::grey, 1.0);
        break;
    }
}

} // namespace gfx
