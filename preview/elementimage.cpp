// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/elementimage.h"

#include "preview/render.h"

#include <QPainter>

ElementImage::ElementImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ElementImage::setBitmap(const QImage& bitmap)
{
    if (bitmap.cacheKey() != m_bitmap.cacheKey()) {
        m_bitmap = bitmap;
        update();
    }
    resize(bitmap.size());
}

void ElementImage::clear()
{
    m_bitmap = QImage();
    m_shown = QImage();
    m_shownKey = 0;
}

void ElementImage::paintEvent(QPaintEvent*)
{
    if (m_bitmap.isNull())
        return;
    if (m_shownKey != m_bitmap.cacheKey()) {
        m_shown = transparentImage(m_bitmap);
        m_shownKey = m_bitmap.cacheKey();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_shown);
}
