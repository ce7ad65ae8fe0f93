// SPDX-License-Identifier: GPL-2.0-or-later

#include "graphics/canvas.h"

#include <QtMath>

namespace gfx {

Canvas::Canvas(QSize pixels, QSizeF units, const QColor& background)
    : m_image(pixels, QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(background);
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter.scale(pixels.width() / units.width(), pixels.height() / units.height());
}

QImage Canvas::finish()
{
    m_painter.end();
    return m_image.convertToFormat(QImage::Format_ARGB32);
}

QPen outlinePen(double width, const QColor& colour)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QColor& fill, double width)
{
    p.setPen(width > 0 ? outlinePen(width) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
}

void fillOutlined(QPainter& p, const QRectF& rect, double radius, const QColor& fill, double width)
{
    fillOutlined(p, roundedRect(rect, radius), fill, width);
}

QPainterPath roundedRect(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath starPath(const QPointF& centre, double outerRadius, double innerRatio)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outerRadius : outerRadius * innerRatio;
        const double angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF point(centre.x() + r * qCos(angle), centre.y() + r * qSin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QPainterPath leafPath(const QPointF& base, const QPointF& tip, double width)
{
    const QPointF along = tip - base;
    const QPointF normal(-along.y(), along.x());
    const double length = qSqrt(along.x() * along.x() + along.y() * along.y());
    const QPointF side = normal * (width / length);
    const QPointF mid = base + along * 0.45;
    QPainterPath path(base);
    path.quadTo(mid + side * 1.6, tip);
    path.quadTo(mid - side * 1.6, base);
    path.closeSubpath();
    return path;
}

void line(QPainter& p, const QPointF& a, const QPointF& b, const QColor& colour, double width)
{
    p.setPen(outlinePen(width, colour));
    p.drawLine(a, b);
}

QImage greyed(const QImage& image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = row[x];
            // Luminance, lifted towards white so the form reads as inactive.
            const int luma = qGray(c);
            const int light = 110 + luma * 135 / 255;
            row[x] = qRgba(light, light, light + 4 > 255 ? 255 : light + 4, qAlpha(c));
        }
    }
    return out;
}

QImage flattened(const QImage& image, const QColor& background)
{
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(background);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    p.end();
    return out;
}

} // namespace gfx
