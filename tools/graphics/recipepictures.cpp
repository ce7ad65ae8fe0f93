// SPDX-License-Identifier: GPL-2.0-or-later
// The placeholder shown for a recipe without a picture and the pictures of the two
// sample dishes.

#include "graphics/dishsupport.h"
#include "graphics/drawings.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace gfx {

using namespace dish;

void drawNoRecipePicture(QPainter& p)
{
    // An empty plate between fork and knife: no picture of the dish yet.
    p.fillRect(QRectF(0, 0, kDishWidth, kDishHeight), QColor(0xf6, 0xf3, 0xec));
    const QColor cutlery(0xb8, 0xc2, 0xcc);
    const QPointF centre(140.5, 72.5);
    p.setPen(outlinePen(2, cutlery));
    p.setBrush(colour::paper);
    p.drawEllipse(centre, 54, 54);
    p.setPen(outlinePen(1.5, QColor(0xdd, 0xe3, 0xe8)));
    p.setBrush(QColor(0xfa, 0xfb, 0xfc));
    p.drawEllipse(centre, 38, 38);
    // Fork.
    line(p, {62, 52}, {62, 122}, cutlery, 4.5);
    for (double x : {55.5, 62.0, 68.5})
        line(p, {x, 22}, {x, 45}, cutlery, 2.6);
    QPainterPath neck;
    neck.moveTo(54.2, 43);
    neck.cubicTo(54.2, 55, 69.8, 55, 69.8, 43);
    p.setPen(outlinePen(2.6, cutlery));
    p.setBrush(Qt::NoBrush);
    p.drawPath(neck);
    // Knife.
    QPainterPath blade;
    blade.moveTo(216, 20);
    blade.cubicTo(226, 30, 226, 55, 222, 68);
    blade.lineTo(216, 68);
    blade.closeSubpath();
    p.setPen(outlinePen(2, cutlery));
    p.setBrush(cutlery);
    p.drawPath(blade);
    line(p, {219, 68}, {219, 122}, cutlery, 5);
}

void drawStrawberryCake(QPainter& p)
{
    backdrop(p, QColor(0xfb, 0xe4, 0xea), QColor(0xf5, 0xe6, 0xd3), 112);
    // Cake stand.
    shadow(p, {140, 134}, 60, 6);
    fillOutlined(p, QPainterPath([] {
                     QPainterPath stem;
                     stem.moveTo(128, 112);
                     stem.lineTo(152, 112);
                     stem.lineTo(160, 133);
                     stem.lineTo(120, 133);
                     stem.closeSubpath();
                     return stem;
                 }()),
                 colour::paper, kOutline);
    p.setPen(outlinePen(kOutline));
    p.setBrush(colour::paper);
    p.drawEllipse(QPointF(140, 133), 28, 4);
    p.drawEllipse(QPointF(140, 111), 100, 11);

    // The cake: sides wrapped in a marzipan rim with a scalloped top edge.
    const double left = 70, right = 210, top = 62, bottom = 104, ry = 14;
    QPainterPath body;
    body.moveTo(left, top);
    body.lineTo(left, bottom);
    body.arcTo(QRectF(left, bottom - ry, right - left, 2 * ry), 180, 180);
    body.lineTo(right, top);
    body.closeSubpath();
    fillOutlined(p, body, colour::marzipan, kOutline);
    for (double x = left + 10; x < right; x += 14) {
        const double dy = std::sqrt(std::max(0.0, 1 - std::pow((x - 140) / 70, 2))) * ry;
        line(p, {x, top + dy + 4}, {x, bottom + dy - 4}, QColor(0xe6, 0xc6, 0x8e), 1.5);
    }
    QPainterPath ribbon;
    ribbon.moveTo(left, bottom - 10);
    ribbon.arcTo(QRectF(left, bottom - 10 - ry, right - left, 2 * ry), 180, 180);
    ribbon.lineTo(right, bottom - 4);
    ribbon.arcTo(QRectF(left, bottom - 4 - ry, right - left, 2 * ry), 0, -180);
    ribbon.closeSubpath();
    fillOutlined(p, ribbon, colour::pink, 1.5);

    // Top: cream, the rim's scallops around it, then strawberries back to front.
    p.setPen(outlinePen(kOutline));
    p.setBrush(QColor(0xfe, 0xf8, 0xf0));
    p.drawEllipse(QPointF(140, top), 70, ry);
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2 * M_PI / 24;
        const QPointF at(140 + 70 * std::cos(a), top + ry * std::sin(a));
        p.setPen(outlinePen(1.4));
        p.setBrush(colour::marzipan);
        p.drawEllipse(at, 5.5, 4);
    }
    struct Berry {
        QPointF at;
        double angle;
    };
    QList<Berry> berries;
    for (auto [rx, rry, count, offset] :
         {std::tuple{52.0, 9.0, 10, 0.0}, std::tuple{26.0, 4.5, 5, 0.6}}) {
        for (int i = 0; i < count; ++i) {
            const double a = offset + i * 2 * M_PI / count;
            berries.append(
                {{140 + rx * std::cos(a), top - 6 + rry * std::sin(a)}, std::cos(a) * 12});
        }
    }
    berries.append({{140, top - 9}, 0});
    std::sort(berries.begin(), berries.end(),
              [](const Berry& a, const Berry& b) { return a.at.y() < b.at.y(); });
    for (const Berry& berry : berries)
        strawberryHalf(p, berry.at, 17, berry.angle);
}

void drawChili(QPainter& p)
{
    backdrop(p, QColor(0xfc, 0xe3, 0xc4), QColor(0xc9, 0x8b, 0x5b), 104);
    for (double y : {118.0, 132.0})
        line(p, {0, y}, {281, y}, QColor(0xb3, 0x77, 0x4b), 1.2);

    // A red chilli on the table.
    QPainterPath pepper;
    pepper.moveTo(218, 124);
    pepper.cubicTo(232, 112, 252, 112, 266, 118);
    pepper.cubicTo(256, 121, 240, 126, 222, 132);
    pepper.cubicTo(216, 133, 214, 128, 218, 124);
    fillOutlined(p, pepper, colour::red, kOutline);
    line(p, {226, 122}, {246, 117}, QColor(255, 255, 255, 120), 2);
    line(p, {217, 126}, {208, 119}, colour::darkGreen, 3.2);

    // The pot: cast iron with ears, the chilli inside.
    shadow(p, {140, 132}, 80, 7);
    const QColor iron(0x44, 0x4c, 0x57);
    fillOutlined(p, QRectF(50, 66, 22, 10), 5, iron, kOutline);
    fillOutlined(p, QRectF(208, 66, 22, 10), 5, iron, kOutline);
    QPainterPath pot;
    pot.moveTo(66, 64);
    pot.lineTo(214, 64);
    pot.cubicTo(214, 118, 196, 132, 140, 132);
    pot.cubicTo(84, 132, 66, 118, 66, 64);
    pot.closeSubpath();
    fillOutlined(p, pot, iron, kOutline);
    line(p, {80, 84}, {88, 110}, QColor(0x5d, 0x66, 0x72), 3);
    p.setPen(outlinePen(kOutline));
    p.setBrush(QColor(0x2f, 0x35, 0x3d));
    p.drawEllipse(QPointF(140, 64), 76, 17);
    const QPointF surface(140, 65);
    p.setBrush(QColor(0xa8, 0x32, 0x1f));
    p.setPen(Qt::NoPen);
    p.drawEllipse(surface, 68, 13);
    p.save();
    p.setClipPath(ellipsePath(surface, 68, 13));
    // Beans, corn and parsley, placed by a fixed seed so the picture never changes.
    QRandomGenerator rng(1872);
    for (int i = 0; i < 46; ++i) {
        const double a = rng.bounded(2 * M_PI);
        const double r = std::sqrt(rng.bounded(1.0));
        const QPointF at(surface.x() + 64 * r * std::cos(a), surface.y() + 12 * r * std::sin(a));
        if (i % 3 == 0)
            blob(p, at, 2.4, 1.8, colour::yellow);
        else if (i % 7 == 1)
            blob(p, at, 1.8, 1.2, colour::green);
        else {
            blob(p, at, 4.2, 2.4, QColor(0x6e, 0x1e, 0x1a));
            blob(p, at + QPointF(-1, -0.8), 1.6, 0.7, QColor(0x9a, 0x3a, 0x30));
        }
    }
    p.restore();
    // A spoonful of soured cream with a coriander leaf.
    p.setPen(outlinePen(1.4));
    p.setBrush(colour::paper);
    p.drawEllipse(QPointF(150, 62), 13, 5.5);
    fillOutlined(p, leafPath({148, 60}, {160, 54}, 2.6), colour::green, 1.2);
    for (double x : {104.0, 140.0, 178.0})
        steam(p, {x, 46}, 34);
}

} // namespace gfx
