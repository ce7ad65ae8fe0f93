// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rendertarget.h"

#include <QPaintDevice>

namespace rich {

void setImageDpi(QImage& image, int dpi)
{
    // Qt derives an image's logical dpi as round(dots per metre * 0.0254).
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

QImage newScreenImage(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    setImageDpi(image, kScreenDpi);
    image.fill(Qt::white);
    return image;
}

RenderTarget::RenderTarget()
    : m_ownImage(newScreenImage(QSize(1, 1))), m_device(&m_ownImage), m_kind(TargetKind::Screen),
      m_glyphs(m_device)
{
}

RenderTarget::RenderTarget(QPaintDevice* device, TargetKind kind)
    : m_device(device), m_kind(kind), m_glyphs(m_device)
{
}

int RenderTarget::dpiX() const
{
    return m_device->logicalDpiX();
}

int RenderTarget::dpiY() const
{
    return m_device->logicalDpiY();
}

} // namespace rich
