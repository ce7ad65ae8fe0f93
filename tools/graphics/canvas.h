// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

// Drawing support shared by every picture of the installation: the palette, a canvas
// that lets each picture be drawn once in its own unit grid at any pixel size, and a
// few shapes that several pictures use.

namespace gfx {

/// The colours of every picture, so icons, glyphs and illustrations look like one set.
namespace colour {
inline const QColor ink{0x37, 0x40, 0x4a};        ///< outlines
inline const QColor paper{0xff, 0xff, 0xff};      ///< cards, pages
inline const QColor cream{0xff, 0xf3, 0xd6};      ///< page edges, labels
inline const QColor red{0xe4, 0x57, 0x2e};        ///< tomato red
inline const QColor darkRed{0xb0, 0x3a, 0x22};    ///< shadows of red parts
inline const QColor orange{0xf3, 0x9a, 0x27};     ///< warm accents
inline const QColor yellow{0xff, 0xd1, 0x66};     ///< gold, cheese, flames
inline const QColor gold{0xf5, 0xb7, 0x2e};       ///< stars
inline const QColor green{0x6b, 0xaa, 0x4b};      ///< herbs, confirmations
inline const QColor darkGreen{0x4a, 0x7f, 0x33};  ///< leaf veins, shadows of green parts
inline const QColor teal{0x2a, 0x9d, 0x8f};       ///< secondary accent
inline const QColor blue{0x3b, 0x7d, 0xd8};       ///< binders, arrows, water
inline const QColor lightBlue{0xa9, 0xd3, 0xf5};  ///< water, glass
inline const QColor navy{0x2d, 0x4b, 0x73};       ///< dark metal parts
inline const QColor brown{0xa0, 0x64, 0x3c};      ///< wood, crusts
inline const QColor lightBrown{0xd9, 0xa0, 0x66}; ///< baked goods
inline const QColor steel{0xb8, 0xc2, 0xcc};      ///< metal
inline const QColor lightSteel{0xe3, 0xe8, 0xed}; ///< metal highlights
inline const QColor grey{0x8d, 0x99, 0xa6};       ///< text lines, muted parts
inline const QColor pink{0xf2, 0x9c, 0xb5};       ///< cream, berries
inline const QColor marzipan{0xf3, 0xdd, 0xb0};   ///< marzipan, dough
inline const QColor buttonFace{0xf0, 0xf0, 0xf0}; ///< background of button glyphs
} // namespace colour

/// An image with a painter whose coordinates are `units` wide and high, whatever the
/// pixel size: a picture is drawn once in its unit grid and comes out clean at 16, 24,
/// 32 or 256 pixels. Antialiased; transparent unless a background is given.
class Canvas {
public:
    Canvas(QSize pixels, QSizeF units, const QColor& background = Qt::transparent);
    QPainter& painter() { return m_painter; }
    /// Ends painting and returns the image.
    QImage finish();

private:
    QImage m_image;
    QPainter m_painter;
};

/// The outline pen: ink, round joins and caps, width in units.
QPen outlinePen(double width, const QColor& colour = colour::ink);

/// Fills a path and strokes it with the outline pen.
void fillOutlined(QPainter& p, const QPainterPath& path, const QColor& fill, double width);
void fillOutlined(QPainter& p, const QRectF& rect, double radius, const QColor& fill, double width);

/// A rounded rectangle as a path.
QPainterPath roundedRect(const QRectF& rect, double radius);
/// A five-pointed star around centre with the given outer radius, one point up.
QPainterPath starPath(const QPointF& centre, double outerRadius, double innerRatio = 0.46);
/// A leaf from base to tip, bulging by width on both sides.
QPainterPath leafPath(const QPointF& base, const QPointF& tip, double width);

/// A stroked line in a colour (no outline), round caps.
void line(QPainter& p, const QPointF& a, const QPointF& b, const QColor& colour, double width);

/// The picture in light greys, as a control shows something not yet filled in.
QImage greyed(const QImage& image);
/// The picture over an opaque background, as an RGB image without alpha.
QImage flattened(const QImage& image, const QColor& background);

} // namespace gfx
