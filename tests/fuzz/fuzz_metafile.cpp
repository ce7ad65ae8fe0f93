// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for Windows metafiles: every input goes through the record check,
// and what passes it through the converter (libwmf or libemf2svg, in this process so
// that a crash in them is found) and Qt's SVG renderer. The first byte chooses which
// kind of metafile the rest is read as, so both readers see every mutation.

#include "imaging/metafile.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const MetafileKind kind = data[0] & 1 ? MetafileKind::Emf : MetafileKind::Wmf;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QString why;
    if (!checkMetafile(bytes, kind, &why))
        return 0;
    QSize natural = metafileNaturalSize(bytes, kind);
    // The picture is drawn small: the size does not change what the readers do.
    const QSize drawn = natural.boundedTo(QSize(256, 256));
    const QByteArray svg = metafileToSvg(bytes, kind, natural, &why);
    if (svg.isEmpty())
        return 0;
    QSvgRenderer renderer;
    if (!renderer.load(svg))
        return 0;
    QImage image(drawn, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(drawn)));
    return 0;
}
