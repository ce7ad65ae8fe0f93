// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of further demo dishes: pancakes, vegetable curry, cheese fondue, waffles.

#include "graphics/dishsupport.h"
#include "graphics/drawings.h"

#include <QRandomGenerator>

#include <cmath>
#include <tuple>

namespace gfx {

using namespace dish;

void drawPancakes(QPainter& p)
{
    backdrop(p, QColor(0xe3, 0xf0, 0xfa), QColor(0xf7, 0xf3, 0xea), 100);
    plate(p, {140, 118}, 112, 20);
    const QColor golden(0xf2, 0xc2, 0x7b);
    for (int i = 0; i < 4; ++i) {
        // One outline around face and edge; the face shows by its lighter colour.
        const double y = 106 - i * 14;
        QPainterPath body;
        body.setFillRule(Qt::WindingFill);
        body.addEllipse(QPointF(140, y), 72, 14);
        body.addEllipse(QPointF(140, y + 8), 72, 14);
        body.addRect(QRectF(68, y, 144, 8));
        fillOutlined(p, body.simplified(), colour::lightBrown, kOutline);
        blob(p, {140, y}, 70.5, 12.8, golden);
    }
    // Syrup running down, a knob of butter, berries on the plate.
    const double top = 106 - 3 * 14;
    QPainterPath syrup;
    syrup.setFillRule(Qt::WindingFill);
    syrup.addEllipse(QPointF(140, top), 50, 9);
    for (auto [x, len] : {std::pair{98.0, 26.0}, std::pair{126.0, 14.0}, std::pair{170.0, 34.0}})
        syrup.addRoundedRect(QRectF(x - 3.5, top, 7, len), 3.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb5, 0x65, 0x1d, 220));
    p.drawPath(syrup.simplified());
    fillOutlined(p, QRectF(128, top - 12, 24, 13), 3, colour::yellow, 1.6);
    line(p, {132, top - 8}, {140, top - 8}, QColor(255, 255, 255, 180), 2);
    QRandomGenerator rng(507);
    for (int i = 0; i < 9; ++i) {
        const bool left = i % 2 == 0;
        const QPointF at(left ? 52 + rng.bounded(24.0) : 206 + rng.bounded(24.0),
                         112 + rng.bounded(14.0));
        p.setPen(outlinePen(1.3));
        p.setBrush(i % 3 == 2 ? colour::red : QColor(0x4a, 0x5a, 0xa8));
        p.drawEllipse(at, 5.5, 5);
        blob(p, at + QPointF(-1.5, -1.6), 1.4, 1.1, QColor(255, 255, 255, 150));
    }
}

void drawCurry(QPainter& p)
{
    backdrop(p, QColor(0xff, 0xf0, 0xc9), QColor(0x7c, 0xc4, 0xb8), 96);
    shadow(p, {140, 134}, 80, 8);
    const QPointF rim(140, 58);
    const double rx = 104, ry = 22;
    fillOutlined(p, QRectF(100, 118, 80, 14), 5, colour::paper, kOutline);
    QPainterPath bowl;
    bowl.moveTo(rim.x() - rx, rim.y());
    bowl.cubicTo(rim.x() - rx, 146, rim.x() + rx, 146, rim.x() + rx, rim.y());
    bowl.closeSubpath();
    fillOutlined(p, bowl, colour::paper, kOutline);
    p.save();
    p.setClipPath(bowl);
    QPainterPath band;
    band.moveTo(rim.x() - rx, 90);
    band.cubicTo(rim.x() - 60, 118, rim.x() + 60, 118, rim.x() + rx, 90);
    p.setPen(outlinePen(6, colour::blue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(band);
    p.restore();
    p.setPen(outlinePen(kOutline));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bowl);
    p.setPen(outlinePen(kOutline));
    p.setBrush(colour::paper);
    p.drawEllipse(rim, rx, ry);
    const QPointF surface(140, 60);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0x91, 0x2d));
    p.drawEllipse(surface, rx - 10, ry - 5);
    p.save();
    p.setClipPath(ellipsePath(surface, rx - 10, ry - 5));
    // Rice heaped on the left.
    QRandomGenerator rng(33);
    for (int i = 0; i < 70; ++i) {
        const QPointF at(52 + rng.bounded(60.0), 46 + rng.bounded(26.0));
        p.setPen(outlinePen(0.8, colour::lightSteel));
        p.setBrush(colour::paper);
        p.drawEllipse(at, 3.2, 1.8);
    }
    for (int i = 0; i < 34; ++i) {
        const QPointF at(118 + rng.bounded(110.0), 46 + rng.bounded(26.0));
        switch (i % 4) {
        case 0:
            p.setPen(outlinePen(1.0));
            p.setBrush(colour::orange.darker(105));
            p.drawRoundedRect(QRectF(at, QSizeF(7, 5)), 1.5, 1.5); // carrot
            break;
        case 1:
            blob(p, at, 3, 2.6, colour::green); // peas
            break;
        case 2:
            blob(p, at, 4.5, 3.2, colour::marzipan); // chickpeas
            break;
        default:
            blob(p, at, 5, 3.6, QColor(0xfb, 0xf6, 0xe8)); // cauliflower
            break;
        }
    }
    p.restore();
    for (auto [base, tip] : {std::pair{QPointF(150, 58), QPointF(162, 51)},
                             std::pair{QPointF(150, 58), QPointF(146, 49)},
                             std::pair{QPointF(196, 64), QPointF(206, 58)}})
        fillOutlined(p, leafPath(base, tip, 3.2), colour::green, 1.2);
    for (double x : {110.0, 170.0})
        steam(p, {x, 38}, 30);
}

void drawFondue(QPainter& p)
{
    backdrop(p, QColor(0xf3, 0xe2, 0xc7), colour::paper, 96);
    // A red and white checked cloth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe4, 0x57, 0x2e, 90));
    for (double x = 0; x < 281; x += 16)
        p.drawRect(QRectF(x, 96, 8, 49));
    for (double y = 100; y < 145; y += 16)
        p.drawRect(QRectF(0, y, 281, 8));
    shadow(p, {140, 134}, 70, 6);
    // Stand and flame.
    line(p, {100, 100}, {88, 132}, colour::ink, 4);
    line(p, {180, 100}, {192, 132}, colour::ink, 4);
    line(p, {80, 132}, {200, 132}, colour::ink, 4);
    QPainterPath flame;
    flame.moveTo(140, 104);
    flame.cubicTo(152, 114, 150, 127, 140, 127);
    flame.cubicTo(130, 127, 128, 114, 140, 104);
    fillOutlined(p, flame, colour::orange, 1.6);
    blob(p, {140, 120}, 4, 6, colour::yellow);
    // Forks with bread, behind the rim.
    for (auto [tip, end, handle] : {std::tuple{QPointF(122, 52), QPointF(70, 14), colour::blue},
                                    std::tuple{QPointF(160, 52), QPointF(214, 12), colour::green},
                                    std::tuple{QPointF(142, 50), QPointF(150, 6), colour::red}}) {
        line(p, tip, end, colour::steel, 3);
        const QPointF dir = (end - tip) / 4;
        line(p, end - dir, end, handle, 6);
        const QPointF cube = tip + dir * 0.9;
        p.save();
        p.translate(cube);
        p.rotate(dir.x() * 0.6);
        fillOutlined(p, QRectF(-8, -8, 16, 16), 3, colour::lightBrown, 1.6);
        blob(p, {0, 1}, 6, 5, QColor(0xf6, 0xe6, 0xbf));
        QPainterPath drip;
        drip.setFillRule(Qt::WindingFill);
        drip.addRoundedRect(QRectF(-8.5, 2, 17, 7), 3, 3);
        drip.addRoundedRect(QRectF(-4, 4, 5, 11), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::yellow);
        p.drawPath(drip.simplified());
        p.restore();
    }
    QPainterPath pot;
    pot.moveTo(86, 58);
    pot.lineTo(194, 58);
    pot.cubicTo(194, 92, 172, 106, 140, 106);
    pot.cubicTo(108, 106, 86, 92, 86, 58);
    pot.closeSubpath();
    fillOutlined(p, pot, colour::red, kOutline);
    line(p, {100, 74}, {108, 92}, QColor(255, 255, 255, 110), 4);
    fillOutlined(p, QRectF(186, 62, 36, 8), 4, colour::ink, 0);
    p.setPen(outlinePen(kOutline));
    p.setBrush(colour::yellow);
    p.drawEllipse(QPointF(140, 58), 55, 11);
    for (auto c : {QPointF(120, 58), QPointF(152, 55), QPointF(166, 61), QPointF(134, 62)}) {
        p.setPen(outlinePen(1.0, colour::gold.darker(115)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 3.4, 1.8);
    }
}

void drawWaffles(QPainter& p)
{
    backdrop(p, QColor(0xe6, 0xf4, 0xea), QColor(0xfa, 0xf6, 0xee), 92);
    plate(p, {140, 106}, 122, 30);
    const QColor golden(0xf0, 0xb8, 0x62);
    for (auto [centre, angle] :
         {std::pair{QPointF(104, 98), -9.0}, std::pair{QPointF(176, 96), 7.0}}) {
        p.save();
        p.translate(centre);
        p.rotate(angle);
        p.scale(1, 0.62);
        const QRectF waffle(-42, -42, 84, 84);
        fillOutlined(p, waffle.translated(0, 8), 8, colour::lightBrown, kOutline);
        fillOutlined(p, waffle, 8, golden, kOutline);
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                const QRectF pocket(-36 + col * 19, -36 + row * 19, 15, 15);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(0xc9, 0x85, 0x3a));
                p.drawRoundedRect(pocket, 2.5, 2.5);
                p.setBrush(QColor(0xdd, 0x9c, 0x50));
                p.drawRoundedRect(pocket.adjusted(2.5, 3.5, 0, 0), 2, 2);
            }
        }
        p.restore();
    }
    // Whipped cream and strawberries; a dusting of sugar.
    for (auto [c, r] : {std::tuple{QPointF(140, 82), 16.0}, std::tuple{QPointF(140, 70), 11.0},
                        std::tuple{QPointF(140, 61), 6.5}}) {
        p.setPen(outlinePen(1.5, colour::steel));
        p.setBrush(colour::paper);
        p.drawEllipse(c, r * 1.4, r * 0.8);
    }
    strawberryHalf(p, {106, 74}, 22, -15);
    strawberryHalf(p, {178, 72}, 22, 12);
    strawberryHalf(p, {194, 108}, 20, 25);
    strawberryHalf(p, {86, 110}, 20, -25);
    QRandomGenerator rng(2024);
    for (int i = 0; i < 60; ++i)
        blob(p, {50 + rng.bounded(180.0), 62 + rng.bounded(56.0)}, 0.9, 0.9,
             QColor(255, 255, 255, 210));
}

} // namespace gfx
