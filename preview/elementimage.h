// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QImage>
#include <QWidget>

// The image control of one element: shows the element's bitmap with the colour of its
// pixel (1, 1) transparent, so the sheet shows between the letters of a text. The
// transparent picture is made when the image is painted, once per change of the bitmap,
// however often the layout hands the bitmap over in between.
class ElementImage : public QWidget {
    Q_OBJECT
public:
    explicit ElementImage(QWidget* parent = nullptr);

    /// Shows bitmap (shared, not copied) and takes its size.
    void setBitmap(const QImage& bitmap);
    const QImage& bitmap() const { return m_bitmap; }
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
    QImage m_shown;
    qint64 m_shownKey = 0;
};
