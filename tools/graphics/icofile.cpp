// SPDX-License-Identifier: GPL-2.0-or-later

#include "graphics/icofile.h"

#include <QBuffer>
#include <QtEndian>

namespace gfx {

namespace {

void put16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// BITMAPINFOHEADER, colour pixels bottom-up as BGRA, then the 1-bit AND mask (set where
// the pixel is fully transparent), each mask row padded to 32 bits.
QByteArray dibPayload(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(h * 2)); // colour and mask together
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // BI_RGB
    put32(out, quint32(w * h * 4 + maskStride * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = row[x];
            const char bgra[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), char(qAlpha(c))};
            out.append(bgra, 4);
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.append(mask);
    }
    return out;
}

QByteArray pngPayload(const QImage& image)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return out;
}

} // namespace

QByteArray icoFileBytes(const QList<QImage>& images)
{
    QList<QByteArray> payloads;
    for (const QImage& image : images)
        payloads.append(image.width() >= 256 ? pngPayload(image) : dibPayload(image));

    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // icon
    put16(out, quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage& image = images.at(i);
        out.append(char(image.width() >= 256 ? 0 : image.width())); // 0 stands for 256
        out.append(char(image.height() >= 256 ? 0 : image.height()));
        out.append(char(0)); // no palette
        out.append(char(0)); // reserved
        put16(out, 1);       // planes
        put16(out, 32);      // bits per pixel
        put32(out, quint32(payloads.at(i).size()));
        put32(out, offset);
        offset += quint32(payloads.at(i).size());
    }
    for (const QByteArray& payload : payloads)
        out.append(payload);
    return out;
}

} // namespace gfx
