// SPDX-License-Identifier: GPL-2.0-or-later
// The sixteen cooking devices and the free device slot, 32 × 32 units each. The device
// names are the base names of their pictures, so they are what recipes store.

#include "graphics/canvas.h"
#include "graphics/drawings.h"

#include <functional>

namespace gfx {

namespace {

constexpr double kOutline = 1.4;

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    path.closeSubpath();
    return path;
}

void ellipse(QPainter& p, const QPointF& centre, double rx, double ry, const QColor& fill,
             double outline = kOutline)
{
    p.setPen(outline > 0 ? outlinePen(outline) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawEllipse(centre, rx, ry);
}

void bakingDish(QPainter& p)
{
    // A rectangular terracotta dish with a golden, bubbling top.
    const QColor clay(0xc8, 0x64, 0x3b);
    const QColor rim(0xe2, 0x86, 0x5a);
    fillOutlined(p, QRectF(0.8, 14.6, 4.5, 3.4), 1.4, clay, 1.1);
    fillOutlined(p, QRectF(26.7, 14.6, 4.5, 3.4), 1.4, clay, 1.1);
    fillOutlined(p, polygon({{3.5, 14}, {28.5, 14}, {26.5, 26.5}, {5.5, 26.5}}), clay, kOutline);
    line(p, {7, 21.5}, {25, 21.5}, rim, 1.6);
    fillOutlined(p, QRectF(3, 9.5, 26, 7), 2.2, rim, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::yellow);
    p.drawRoundedRect(QRectF(5.2, 11.2, 21.6, 3.8), 1.4, 1.4);
    for (auto c : {QPointF(9, 12.6), QPointF(14.5, 13.6), QPointF(19.5, 12.4), QPointF(23.5, 13.5)})
        ellipse(p, c, 1.5, 0.8, colour::lightBrown, 0);
}

void bakingOven(QPainter& p)
{
    fillOutlined(p, QRectF(3.5, 3.5, 25, 24), 3, colour::lightSteel, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::steel);
    p.drawRect(QRectF(4.3, 8.2, 23.4, 1.4));
    for (double x : {8.0, 12.0, 16.0})
        ellipse(p, {x, 6.2}, 1.3, 1.3, colour::ink, 0);
    ellipse(p, {24.5, 6.2}, 1.2, 1.2, colour::red, 0);
    line(p, {9, 12}, {23, 12}, colour::ink, 1.6); // door handle
    fillOutlined(p, QRectF(7.5, 14.2, 17, 10.3), 2, colour::navy, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::orange);
    p.drawRoundedRect(QRectF(10, 18.5, 12, 4), 1.5, 1.5);
    p.setBrush(colour::yellow);
    p.drawRoundedRect(QRectF(12, 19.4, 8, 2.2), 1, 1);
    line(p, {7, 29}, {9, 29}, colour::ink, 1.6);
    line(p, {23, 29}, {25, 29}, colour::ink, 1.6);
}

void barbecue(QPainter& p)
{
    for (auto [a, b] : {std::pair{QPointF(10, 20), QPointF(7, 29.5)},
                        std::pair{QPointF(22, 20), QPointF(25, 29.5)},
                        std::pair{QPointF(16, 22), QPointF(16, 29.5)}})
        line(p, a, b, colour::ink, 1.6);
    QPainterPath bowl;
    bowl.moveTo(4, 14);
    bowl.cubicTo(4, 27, 28, 27, 28, 14);
    bowl.closeSubpath();
    fillOutlined(p, bowl, colour::red, kOutline);
    line(p, {9, 18.5}, {23, 18.5}, colour::darkRed, 1.2);
    // Two sausages on the grate.
    fillOutlined(p, QRectF(7, 9.4, 8.5, 3.6), 1.8, colour::brown, 1.1);
    fillOutlined(p, QRectF(16.5, 9.4, 8.5, 3.6), 1.8, colour::brown, 1.1);
    for (double x : {10.0, 13.0, 19.5, 22.5})
        line(p, {x, 10.3}, {x - 0.8, 12.1}, colour::ink, 0.8);
    line(p, {3, 14}, {29, 14}, colour::ink, 2.2);
    line(p, {3.6, 14}, {28.4, 14}, colour::steel, 1.0);
}

void cookingPot(QPainter& p)
{
    fillOutlined(p, QRectF(1.5, 14, 5, 3.2), 1.4, colour::ink, 0);
    fillOutlined(p, QRectF(25.5, 14, 5, 3.2), 1.4, colour::ink, 0);
    fillOutlined(p, QRectF(5, 12, 22, 16), 3, colour::red, kOutline);
    line(p, {7.5, 21}, {24.5, 21}, colour::darkRed, 1.2);
    QPainterPath lid;
    lid.moveTo(3.5, 12.5);
    lid.cubicTo(5, 6, 27, 6, 28.5, 12.5);
    lid.closeSubpath();
    fillOutlined(p, lid, colour::steel, kOutline);
    line(p, {9, 10.2}, {14, 8.6}, colour::lightSteel, 1.1);
    fillOutlined(p, QRectF(13.5, 4.2, 5, 3), 1.3, colour::ink, 0);
}

void deepFryer(QPainter& p)
{
    // Chips in the basket, the basket with its handle, then the fryer.
    p.save();
    for (auto [x, angle] : {std::pair{11.0, -12.0}, std::pair{14.0, 6.0}, std::pair{17.0, -4.0},
                            std::pair{20.0, 10.0}}) {
        p.save();
        p.translate(x, 7);
        p.rotate(angle);
        fillOutlined(p, QRectF(-1.1, -5, 2.2, 8), 0.6, colour::yellow, 1.0);
        p.restore();
    }
    p.restore();
    fillOutlined(p, QRectF(8.5, 7.5, 14, 5), 1, colour::lightSteel, 1.1);
    for (double x : {12.0, 15.5, 19.0})
        line(p, {x, 8}, {x, 12}, colour::steel, 0.8);
    line(p, {22.5, 9}, {29.5, 5}, colour::ink, 2.0);
    fillOutlined(p, QRectF(4.5, 11, 23, 17), 3, colour::steel, kOutline);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::navy);
    p.drawRoundedRect(QRectF(7, 12.5, 18, 2.4), 1, 1);
    ellipse(p, {11, 21}, 2.4, 2.4, colour::lightSteel, 1.1);
    line(p, {11, 21}, {12.3, 19.8}, colour::ink, 0.9);
    ellipse(p, {21.5, 21}, 1.5, 1.5, colour::orange, 1.0);
}

void fondue(QPainter& p)
{
    // Forks first, so the pot's rim covers their ends.
    line(p, {14, 13}, {7, 2.5}, colour::steel, 1.4);
    line(p, {18, 13}, {25, 2.5}, colour::steel, 1.4);
    line(p, {9.3, 6}, {7, 2.5}, colour::blue, 2.6);
    line(p, {22.7, 6}, {25, 2.5}, colour::green, 2.6);
    line(p, {9, 22}, {6, 29.5}, colour::ink, 1.6);
    line(p, {23, 22}, {26, 29.5}, colour::ink, 1.6);
    line(p, {4.5, 29.5}, {27.5, 29.5}, colour::ink, 1.8);
    QPainterPath flame;
    flame.moveTo(16, 21);
    flame.cubicTo(19.5, 24.5, 18.5, 28, 16, 28);
    flame.cubicTo(13.5, 28, 12.5, 24.5, 16, 21);
    fillOutlined(p, flame, colour::orange, 1.0);
    QPainterPath pot;
    pot.moveTo(5.5, 12);
    pot.lineTo(26.5, 12);
    pot.cubicTo(26.5, 20, 22, 22.5, 16, 22.5);
    pot.cubicTo(10, 22.5, 5.5, 20, 5.5, 12);
    pot.closeSubpath();
    fillOutlined(p, pot, colour::red, kOutline);
    ellipse(p, {16, 12}, 10.5, 2.6, colour::yellow);
    line(p, {9, 17}, {12, 18.6}, colour::darkRed, 1.1);
}

void juicer(QPainter& p)
{
    QPainterPath saucer;
    saucer.moveTo(3, 18);
    saucer.lineTo(29, 18);
    saucer.cubicTo(28, 25, 23, 27, 16, 27);
    saucer.cubicTo(9, 27, 4, 25, 3, 18);
    saucer.closeSubpath();
    fillOutlined(p, saucer, colour::teal, kOutline);
    fillOutlined(p, polygon({{2, 18}, {5, 18}, {3.5, 21}}), colour::teal, 1.1);
    QPainterPath cone;
    cone.moveTo(7.5, 18);
    cone.cubicTo(8.5, 12, 11, 8.5, 14, 8);
    cone.cubicTo(17, 8.5, 19.5, 12, 20.5, 18);
    cone.closeSubpath();
    fillOutlined(p, cone, colour::paper, kOutline);
    for (double x : {10.5, 14.0, 17.5}) {
        QPainterPath ridge;
        ridge.moveTo(14, 9.5);
        ridge.quadTo((x + 14) / 2 + (x - 14) * 0.3, 13, x, 17);
        p.setPen(outlinePen(0.9, colour::steel));
        p.setBrush(Qt::NoBrush);
        p.drawPath(ridge);
    }
    // Half a lemon.
    ellipse(p, {24.5, 9.5}, 5.2, 5.2, colour::yellow);
    ellipse(p, {24.5, 9.5}, 3.6, 3.6, QColor(0xff, 0xf1, 0xb8), 0);
    for (int i = 0; i < 3; ++i) {
        const QPointF c(24.5, 9.5);
        const QPointF d[3] = {{0, -3.4}, {2.9, 1.7}, {-2.9, 1.7}};
        line(p, c, c + d[i], colour::yellow.darker(115), 0.8);
    }
}

void microwave(QPainter& p)
{
    fillOutlined(p, QRectF(2.5, 6.5, 27, 19.5), 2.5, colour::lightSteel, kOutline);
    fillOutlined(p, QRectF(5.5, 9.5, 15.5, 13.5), 1.6, colour::navy, kOutline);
    line(p, {8, 12}, {11.5, 12}, colour::lightBlue, 1.1);
    line(p, {23, 7.2}, {23, 25.3}, colour::steel, 0.9);
    fillOutlined(p, QRectF(23.8, 9.8, 3.8, 2.6), 0.6, colour::teal, 0.9);
    for (double y : {15.5, 19.5})
        ellipse(p, {25.7, y}, 1.2, 1.2, colour::ink, 0);
    line(p, {6, 27.6}, {8, 27.6}, colour::ink, 1.6);
    line(p, {24, 27.6}, {26, 27.6}, colour::ink, 1.6);
}

void mixer(QPainter& p)
{
    // Beaters: stems and loops of wire.
    for (double x : {12.0, 20.0}) {
        line(p, {x, 16}, {x, 21}, colour::ink, 1.6);
        p.setPen(outlinePen(1.3, colour::grey));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(x, 25.2), 2.6, 4.6);
        line(p, {x, 20.8}, {x, 29.6}, colour::grey, 1.1);
    }
    QPainterPath handle;
    handle.addRoundedRect(QRectF(8, 2.5, 16, 8.5), 4, 4);
    QPainterPath hole;
    hole.addRoundedRect(QRectF(11, 5, 10, 3.2), 1.6, 1.6);
    fillOutlined(p, handle.subtracted(hole), colour::teal, kOutline);
    fillOutlined(p, QRectF(4.5, 9, 23, 8.5), 4.2, colour::teal, kOutline);
    line(p, {8.5, 13.2}, {19, 13.2}, colour::teal.lighter(135), 1.4);
    ellipse(p, {23.5, 13.2}, 1.4, 1.4, colour::paper, 0.9);
}

void ovenproofDish(QPainter& p)
{
    fillOutlined(p, QRectF(0.8, 15.2, 5, 3.2), 1.5, colour::blue, 1.1);
    fillOutlined(p, QRectF(26.2, 15.2, 5, 3.2), 1.5, colour::blue, 1.1);
    QPainterPath body;
    body.moveTo(3, 16.5);
    body.cubicTo(3, 27, 29, 27, 29, 16.5);
    body.closeSubpath();
    fillOutlined(p, body, colour::paper, kOutline);
    QPainterPath stripe;
    stripe.moveTo(5, 21);
    stripe.cubicTo(9, 24.2, 23, 24.2, 27, 21);
    p.setPen(outlinePen(1.3, colour::blue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stripe);
    ellipse(p, {16, 16.5}, 13, 5, colour::paper);
    ellipse(p, {16, 16.5}, 11, 3.6, colour::yellow, 0);
    for (auto c : {QPointF(11, 16), QPointF(16.5, 15), QPointF(20.5, 17.5), QPointF(14, 18.2)})
        ellipse(p, c, 1.5, 0.9, colour::lightBrown, 0);
    for (double x : {11.0, 16.0, 21.0}) {
        QPainterPath steam;
        steam.moveTo(x, 10.5);
        steam.cubicTo(x - 1.5, 8.5, x + 1.5, 6.5, x, 4);
        p.setPen(outlinePen(1.1, colour::grey));
        p.setBrush(Qt::NoBrush);
        p.drawPath(steam);
    }
}

void racletteSet(QPainter& p)
{
    // Potatoes on the stone, the stone, the heater, the cheese pans and the base.
    ellipse(p, {10.5, 6}, 3.4, 2.4, colour::lightBrown, 1.1);
    ellipse(p, {21.5, 6}, 3.4, 2.4, colour::lightBrown, 1.1);
    fillOutlined(p, QRectF(2.5, 7.5, 27, 4), 1.6, QColor(0x6b, 0x72, 0x7c), kOutline);
    fillOutlined(p, QRectF(5, 11.5, 22, 4.5), 1, colour::steel, kOutline);
    line(p, {8, 13.75}, {24, 13.75}, colour::orange, 1.0);
    for (auto [x, dir] : {std::pair{6.0, -1.0}, std::pair{17.5, 1.0}}) {
        const double handleX = dir < 0 ? x : x + 8.5;
        line(p, {handleX, 19.5}, {handleX + dir * 4.5, 23}, colour::ink, 1.8);
        fillOutlined(p, QRectF(x, 17.5, 8.5, 4), 0.8, colour::ink, 0);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::yellow);
        p.drawRoundedRect(QRectF(x + 1, 17.7, 6.5, 1.8), 0.8, 0.8);
    }
    fillOutlined(p, QRectF(4, 25, 24, 3.5), 1.5, colour::red, kOutline);
    line(p, {8, 16}, {8, 25}, colour::ink, 1.2);
    line(p, {24, 16}, {24, 25}, colour::ink, 1.2);
}

void refrigerator(QPainter& p)
{
    fillOutlined(p, QRectF(7.5, 2, 17, 28), 2.6, colour::paper, kOutline);
    line(p, {8.2, 11.5}, {23.8, 11.5}, colour::ink, 1.2);
    line(p, {20.8, 5}, {20.8, 9}, colour::ink, 1.8);
    line(p, {20.8, 14.5}, {20.8, 20.5}, colour::ink, 1.8);
    fillOutlined(p, QRectF(10.5, 16, 4.2, 4.2), 0.6, colour::teal, 0.9);
    ellipse(p, {12, 7}, 1.3, 1.3, colour::red, 0);
    line(p, {9.5, 31}, {11, 31}, colour::ink, 1.4);
    line(p, {21, 31}, {22.5, 31}, colour::ink, 1.4);
}

void sandwichMaker(QPainter& p)
{
    fillOutlined(p, QRectF(3.5, 17.5, 25, 9.5), 3, colour::red, kOutline);
    line(p, {4.5, 18.2}, {27.5, 18.2}, colour::lightBrown, 2.4);
    QPainterPath lid;
    lid.moveTo(3.5, 17.5);
    lid.cubicTo(4.5, 8, 27.5, 8, 28.5, 17.5);
    lid.closeSubpath();
    fillOutlined(p, lid, colour::steel, kOutline);
    // The triangles the plates press into the toast.
    line(p, {10, 15}, {15, 11.5}, colour::lightSteel, 1.2);
    line(p, {17, 11.5}, {22, 15}, colour::lightSteel, 1.2);
    fillOutlined(p, QRectF(13.5, 13.5, 5, 6.5), 1.2, colour::ink, 0);
    ellipse(p, {24, 23}, 1.3, 1.3, colour::green, 0.8);
    line(p, {7.5, 23}, {18, 23}, colour::darkRed, 1.1);
}

void skillet(QPainter& p)
{
    p.save();
    p.translate(22, 11.5);
    p.rotate(-38);
    fillOutlined(p, QRectF(0, -1.8, 11, 3.6), 1.8, colour::brown, kOutline);
    p.restore();
    ellipse(p, {13, 18}, 11, 11, colour::ink);
    ellipse(p, {13, 18}, 9, 9, QColor(0x5b, 0x65, 0x71), 0);
    // A fried egg.
    QPainterPath white;
    white.moveTo(7, 18);
    white.cubicTo(6, 13, 11, 11.5, 14, 13);
    white.cubicTo(19, 12, 20, 17, 18.5, 19.5);
    white.cubicTo(18, 24, 12.5, 24.5, 10.5, 22.5);
    white.cubicTo(8, 22.5, 7.2, 20.5, 7, 18);
    fillOutlined(p, white, colour::paper, 1.0);
    ellipse(p, {13, 17.8}, 2.8, 2.8, colour::orange, 1.0);
    ellipse(p, {12.2, 17}, 0.8, 0.8, colour::yellow, 0);
}

void waffleIron(QPainter& p)
{
    line(p, {22, 11}, {29.5, 4.5}, colour::ink, 3.2);
    line(p, {25.5, 7.5}, {29.5, 4.5}, colour::red, 1.8);
    ellipse(p, {14, 17.5}, 12, 12, colour::steel);
    ellipse(p, {14, 17.5}, 9.4, 9.4, colour::lightBrown, 1.1);
    p.save();
    QPainterPath clip;
    clip.addEllipse(QPointF(14, 17.5), 9.4, 9.4);
    p.setClipPath(clip);
    for (double d = -9; d <= 9; d += 3.6) {
        line(p, {14 + d, 7}, {14 + d, 28}, colour::brown, 1.1);
        line(p, {4, 17.5 + d}, {24, 17.5 + d}, colour::brown, 1.1);
    }
    p.restore();
    p.setPen(outlinePen(1.1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(14, 17.5), 9.4, 9.4);
}

void waterBath(QPainter& p)
{
    // A glass pan with water, and a ramekin of custard standing in it.
    QPainterPath pan = polygon({{3, 12}, {29, 12}, {27, 27.5}, {5, 27.5}});
    fillOutlined(p, pan, QColor(0xf4, 0xf9, 0xfd), 0);
    fillOutlined(p, QRectF(10, 8.5, 12, 14), 1.5, colour::paper, 1.2);
    for (double x : {13.0, 16.0, 19.0})
        line(p, {x, 11}, {x, 21}, colour::lightSteel, 0.9);
    ellipse(p, {16, 8.6}, 6, 1.7, colour::yellow, 1.1);
    QPainterPath water;
    water.moveTo(3.6, 17);
    for (int i = 0; i < 6; ++i) {
        const double x = 3.6 + i * 4.1;
        water.quadTo(x + 1.0, i % 2 ? 18.2 : 15.8, x + 4.1, 17);
    }
    water.lineTo(27, 27.5);
    water.lineTo(5, 27.5);
    water.closeSubpath();
    QColor blue = colour::lightBlue;
    blue.setAlpha(200);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(water.intersected(pan));
    p.setPen(outlinePen(kOutline));
    p.setBrush(Qt::NoBrush);
    p.drawPath(pan);
    line(p, {1.5, 12}, {30.5, 12}, colour::ink, 1.8);
}

struct Device {
    const char* name;
    void (*draw)(QPainter&);
};

const Device kDevices[] = {
    {"baking dish", bakingDish},
    {"baking oven", bakingOven},
    {"barbecue", barbecue},
    {"cooking pot", cookingPot},
    {"deep fryer", deepFryer},
    {"fondue", fondue},
    {"juicer", juicer},
    {"microwave", microwave},
    {"mixer", mixer},
    {"ovenproof dish", ovenproofDish},
    {"raclette set", racletteSet},
    {"refrigerator", refrigerator},
    {"sandwich maker", sandwichMaker},
    {"skillet", skillet},
    {"waffle iron", waffleIron},
    {"water bath", waterBath},
};

} // namespace

const QStringList& deviceNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const Device& device : kDevices)
            list << QString::fromLatin1(device.name);
        return list;
    }();
    return names;
}

void drawDevice(QPainter& p, int index)
{
    if (index >= 0 && index < int(std::size(kDevices)))
        kDevices[index].draw(p);
}

void drawEmptyDeviceSlot(QPainter& p)
{
    QPen dashed = outlinePen(1.3, QColor(0xaa, 0xb4, 0xbe));
    dashed.setDashPattern({2.2, 2.0});
    p.setPen(dashed);
    p.setBrush(QColor(255, 255, 255, 140));
    p.drawRoundedRect(QRectF(3.5, 3.5, 25, 25), 5, 5);
    const QColor plus(0xc5, 0xcd, 0xd5);
    line(p, {16, 11.5}, {16, 20.5}, plus, 1.8);
    line(p, {11.5, 16}, {20.5, 16}, plus, 1.8);
}

} // namespace gfx
