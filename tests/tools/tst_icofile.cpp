// SPDX-License-Identifier: GPL-2.0-or-later

#include "graphics/icofile.h"

#include <QBuffer>
#include <QImageReader>
#include <QTest>
#include <QtEndian>

namespace {

// A picture whose every pixel differs, with fully transparent, opaque and half
// transparent pixels, so a swapped channel, a flipped row or a shifted column shows.
QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = (x + y) % 3 == 0 ? 0 : (x + y) % 3 == 1 ? 255 : 128;
            image.setPixel(x, y, qRgba((x * 37) % 256, (y * 53) % 256, (x * y) % 256, alpha));
        }
    }
    return image;
}

quint16 u16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Fully transparent pixels carry no colour worth comparing; Qt's reader goes through
// premultiplied colour, which may round half transparent pixels by a step.
bool samePixels(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    if (x.size() != y.size())
        return false;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            if (qAlpha(p) != qAlpha(q))
                return false;
            const int tolerance = qAlpha(p) == 255 ? 0 : qAlpha(p) == 0 ? 255 : 2;
            if (qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance ||
                qAbs(qBlue(p) - qBlue(q)) > tolerance)
                return false;
        }
    }
    return true;
}

} // namespace

class TestIcoFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("one 24-pixel image") << QList<int>{24};
        QTest::newRow("width not a multiple of 32") << QList<int>{5};
        QTest::newRow("program icon sizes") << QList<int>{16, 24, 32, 48, 64, 256};
        QTest::newRow("large image first") << QList<int>{256, 16};
    }

    // Directory, payloads and pixels: what Windows and Qt read from the file.
    void roundTrip()
    {
        QFETCH(QList<int>, sizes);
        QList<QImage> images;
        for (int size : sizes)
            images.append(pattern(size, size));
        QByteArray bytes = gfx::icoFileBytes(images);

        QCOMPARE(u16(bytes, 0), quint16(0));
        QCOMPARE(u16(bytes, 2), quint16(1));
        QCOMPARE(u16(bytes, 4), quint16(sizes.size()));
        quint32 expectedOffset = 6 + 16 * sizes.size();
        for (int i = 0; i < sizes.size(); ++i) {
            const qsizetype entry = 6 + 16 * i;
            const int size = sizes.at(i);
            QCOMPARE(int(quint8(bytes.at(entry))), size == 256 ? 0 : size);
            QCOMPARE(int(quint8(bytes.at(entry + 1))), size == 256 ? 0 : size);
            QCOMPARE(u16(bytes, entry + 4), quint16(1));
            QCOMPARE(u16(bytes, entry + 6), quint16(32));
            // Payloads follow the directory without gaps, in directory order.
            QCOMPARE(u32(bytes, entry + 12), expectedOffset);
            const QByteArray payload = bytes.mid(expectedOffset, u32(bytes, entry + 8));
            expectedOffset += u32(bytes, entry + 8);
            if (size == 256) {
                QVERIFY(payload.startsWith("\x89PNG\r\n\x1a\n"));
                continue;
            }
            QCOMPARE(u32(payload, 0), 40u);
            QCOMPARE(u32(payload, 8), quint32(2 * size));
            // The AND mask is set exactly where a pixel is fully transparent.
            const int stride = ((size + 31) / 32) * 4;
            const QByteArray mask = payload.mid(40 + size * size * 4);
            QCOMPARE(mask.size(), stride * size);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const char byte = mask.at((size - 1 - y) * stride + x / 8);
                    const bool set = byte & (0x80 >> (x % 8));
                    QCOMPARE(set, qAlpha(images.at(i).pixel(x, y)) == 0);
                }
            }
        }
        QCOMPARE(qsizetype(expectedOffset), bytes.size());

        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        QCOMPARE(reader.imageCount(), int(sizes.size()));
        for (int i = 0; i < sizes.size(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage read = reader.read();
            QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
            QVERIFY2(samePixels(read, images.at(i)), qPrintable(QString::number(sizes.at(i))));
        }
    }

    // A picture without alpha is written opaque: no mask bit, every pixel kept.
    void opaqueImage()
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(QColor(10, 200, 30));
        QByteArray bytes = gfx::icoFileBytes({image});
        const QByteArray payload = bytes.mid(u32(bytes, 18));
        QCOMPARE(payload.mid(40 + 8 * 8 * 4), QByteArray(4 * 8, '\0'));
        QBuffer buffer(&bytes);
        const QImage read = QImageReader(&buffer, "ico").read();
        QCOMPARE(read.pixel(3, 5), qRgba(10, 200, 30, 255));
    }
};

QTEST_GUILESS_MAIN(TestIcoFile)
#include "tst_icofile.moc"
