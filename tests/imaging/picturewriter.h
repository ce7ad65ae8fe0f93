// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QtEndian>

// Pictures for tests, made here: metafiles written record by record, a GIF encoded by
// hand (Qt writes no GIF), and the raster formats Qt writes. Each shows one filled
// rectangle, so a test can tell that it was drawn.

namespace testpictures {

inline void put16(QByteArray& out, int v)
{
    char b[2];
    qToLittleEndian<quint16>(quint16(v), b);
    out.append(b, 2);
}
inline void put32(QByteArray& out, qint64 v)
{
    char b[4];
    qToLittleEndian<quint32>(quint32(v), b);
    out.append(b, 4);
}

/// A WMF file built from records of 16-bit parameters.
class WmfWriter {
public:
    void record(int function, const QList<int>& params)
    {
        put32(m_records, 3 + params.size());
        put16(m_records, function);
        for (int p : params)
            put16(m_records, p);
        m_maxRecord = std::max<qint64>(m_maxRecord, 3 + params.size());
    }
    /// A red rectangle filling the window (0, 0) to (width, height) in logical units.
    void redRectangle(int width, int height)
    {
        record(0x020B, {0, 0});                            // window origin
        record(0x020C, {height, width});                   // window extent
        record(0x02FC, {0, 0x00FF, 0x0000, 0});            // solid red brush
        record(0x012D, {0});                               // select it
        record(0x041B, {height, width, 0, 0});             // rectangle
    }
    /// placeableInch 0: no placeable header.
    QByteArray finish(int placeableInch = 0, QRect box = {}) const
    {
        QByteArray records = m_records;
        put32(records, 3); // end of file
        put16(records, 0);
        QByteArray out;
        if (placeableInch) {
            QByteArray head;
            put32(head, 0x9AC6CDD7);
            put16(head, 0);
            put16(head, box.left());
            put16(head, box.top());
            put16(head, box.left() + box.width());
            put16(head, box.top() + box.height());
            put16(head, placeableInch);
            put32(head, 0);
            quint16 sum = 0;
            for (int i = 0; i < 10; ++i)
                sum ^= qFromLittleEndian<quint16>(head.constData() + 2 * i);
            put16(head, sum);
            out += head;
        }
        put16(out, 1);      // in memory
        put16(out, 9);      // header words
        put16(out, 0x0300); // version
        put32(out, 9 + records.size() / 2);
        put16(out, 1); // objects
        put32(out, m_maxRecord);
        put16(out, 0);
        return out + records;
    }

private:
    QByteArray m_records;
    qint64 m_maxRecord = 3;
};

/// An EMF file: a header with the frame, then records of 32-bit values.
class EmfWriter {
public:
    void record(int type, const QList<qint64>& values)
    {
        put32(m_records, type);
        put32(m_records, 8 + 4 * values.size());
        for (qint64 v : values)
            put32(m_records, v);
        ++m_count;
    }
    /// A red rectangle over the whole picture of width x height device pixels.
    void redRectangle(int width, int height)
    {
        record(39, {1, 0, 0x000000FF, 0}); // brush 1: solid red
        record(37, {1});                   // select it
        record(43, {0, 0, width, height}); // rectangle
    }
    /// A description (UTF-16, the header's text) goes after the header's extensions.
    QByteArray finish(QSize pixels, const QString& description = {}) const
    {
        const qint64 text = (description.size() + 1) & ~1; // even: the records stay aligned
        const qint64 headerSize = description.isEmpty() ? 88 : 108 + 2 * text;
        QByteArray records = m_records;
        put32(records, 14); // end of file
        put32(records, 20);
        put32(records, 0);
        put32(records, 16);
        put32(records, 20);
        QByteArray head;
        const qint64 w100mm = qint64(pixels.width()) * 2540 / 96;
        const qint64 h100mm = qint64(pixels.height()) * 2540 / 96;
        put32(head, 1);
        put32(head, headerSize);
        for (qint64 v : {0, 0, pixels.width() - 1, pixels.height() - 1}) // bounds
            put32(head, v);
        for (qint64 v : {qint64(0), qint64(0), w100mm, h100mm}) // frame
            put32(head, v);
        put32(head, 0x464D4520);
        put32(head, 0x10000);
        put32(head, headerSize + records.size());
        put32(head, m_count + 2);
        put16(head, 2); // handles
        put16(head, 0);
        put32(head, description.isEmpty() ? 0 : text); // description: length, offset
        put32(head, description.isEmpty() ? 0 : 108);
        put32(head, 0); // palette
        put32(head, 96 * 20); // device: 20 x 10 inches at 96 dpi
        put32(head, 96 * 10);
        put32(head, 508); // in millimetres
        put32(head, 254);
        if (!description.isEmpty()) {
            for (int i = 0; i < 5; ++i) // no pixel format, no OpenGL, no micrometres
                put32(head, 0);
            for (qint64 i = 0; i < text; ++i)
                put16(head, i < description.size() ? description.at(i).unicode() : 0);
        }
        return head + records;
    }

private:
    QByteArray m_records;
    qint64 m_count = 0;
};

/// A placeable WMF of about a hundred bytes whose one red rectangle declares side x side
/// pixels (96 units per inch): tiny to read, huge to draw at its natural size.
inline QByteArray tinyWmfOfSide(int side)
{
    WmfWriter w;
    w.redRectangle(side, side);
    return w.finish(96, QRect(0, 0, side, side));
}

/// An EMF of side x side pixels painted over by count red rectangles as large as itself:
/// small to read, slow to draw at its natural size.
inline QByteArray emfOfRectangles(int count, int side)
{
    EmfWriter w;
    w.redRectangle(side, side);
    for (int i = 1; i < count; ++i)
        w.record(43, {0, 0, side, side});
    return w.finish(QSize(side, side));
}

/// A GIF of one colour, width x height pixels, its codes written with a clear code
/// after every second pixel so the code width stays at 3 bits.
inline QByteArray redGif(int width, int height)
{
    QByteArray out("GIF89a");
    put16(out, width);
    put16(out, height);
    out.append(char(0x80)).append(char(0)).append(char(0)); // 2-colour table
    out.append("\xFF\x00\x00\xFF\xFF\xFF", 6);
    out.append(char(0x2C));
    put16(out, 0);
    put16(out, 0);
    put16(out, width);
    put16(out, height);
    out.append(char(0));
    out.append(char(2)); // minimum code size
    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    auto code = [&](int c) {
        bits |= quint32(c) << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    const int pixels = width * height;
    for (int p = 0; p < pixels; ++p) {
        if (p % 2 == 0)
            code(4); // clear
        code(0);
    }
    code(5); // end
    if (count > 0)
        data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append(char(0)).append(char(0x3B));
    return out;
}

/// A red picture in a format Qt writes ("PNG", "JPEG", "BMP", "ICO").
inline QByteArray redRaster(const char* format, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

} // namespace testpictures
