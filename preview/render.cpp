// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/render.h"

#include "platform/richtext/richpainter.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/safefile.h"

#include <QFile>
#include <QPainter>

#include <algorithm>

namespace {

int longestLine(rich::RenderTarget& screen, const rich::RichDocument& doc)
{
    int widest = 0;
    for (int line = 0; line < doc.lineCount(); ++line)
        widest = std::max(widest, rich::MeasureLineWidth(screen, doc, line));
    return widest;
}

bool readContent(const QString& path, rich::RichDocument& doc, QString* error,
                 QByteArray* bytes = nullptr)
{
    QByteArray read;
    if (!readWholeFile(path, &read, error))
        return false;
    QString why;
    const bool whole = rich::readRtf(read, doc, &why);
    if (bytes)
        *bytes = read;
    // A damaged file still shows what could be read of it.
    if (whole || !doc.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(path, why);
    return false;
}

void renderPicture(bool full, TGFXL& e)
{
    if (full) {
        e.AnchorLeft = e.Left;
        e.AnchorTop = e.Top;
        e.AnchorWidth = e.width();
        e.AnchorHeight = e.height();
        e.Active = false;
    }
    e.Shown = true;
}

} // namespace

bool RenderElement(bool full, int i, ElementArray& elements, rich::RichDocument& doc,
                   RenderContext& context, QString* error, QByteArray* contentBytes)
{
    if (i < 0 || i >= elements.size())
        return false;
    TGFXL& e = elements[i];
    if (isPictureElement(i)) {
        renderPicture(full, e);
        return true;
    }
    if (!full && !e.Shown) {
        e.Active = false;
        return true;
    }
    // A deluxe column without lines is shown with the others as an empty text, so the
    // group stays one row; every other element without content stays hidden anyway.
    rich::RichDocument text;
    QByteArray bytes;
    if (!e.ContentFile.isEmpty() && !readContent(e.ContentFile, text, error, &bytes))
        return false;
    const int widest = longestLine(context.screen, text);
    int w = 0;
    if (full) {
        w = std::max(widest + kWidthAllowance, kMinTextWidth);
    } else {
        w = std::max(e.width(), kMinTextWidth);
        if (widest < w)
            w = std::max(widest + kWidthAllowance, kMinTextWidth);
        else if (isColumn(i))
            w = widest + kWidthAllowance;
    }
    const int h = rich::WrapText(context.screen, text, w, 0, context.printer) + kWidthAllowance;
    if (!full) {
        // The wrapped text passes through the scratch file, which then goes. (After a
        // full layout nothing reads it, so it is not written then.)
        if (!rich::writeRtfFile(context.scratchFile, text, error, Durability::Scratch))
            return false;
        rich::RichDocument wrapped;
        const bool read = readContent(context.scratchFile, wrapped, error);
        removeFile(context.scratchFile);
        if (!read)
            return false;
        text = std::move(wrapped);
    }
    doc = std::move(text);
    e.Bitmap = rich::newScreenImage(QSize(w, h));
    if (full) {
        e.AnchorLeft = e.Left;
        e.AnchorTop = e.Top;
        e.AnchorWidth = w;
        e.AnchorHeight = h;
    }
    if (isColumn(i))
        AlignColumns(elements, i);
    {
        QPainter painter(&e.Bitmap);
        int x = kTextMargin;
        int y = kTextMargin;
        rich::DrawRichText(context.screen, painter, x, y, doc);
    }
    e.Shown = true;
    if (full)
        e.Active = false;
    if (contentBytes)
        *contentBytes = std::move(bytes);
    return true;
}

void DrawFrame(QImage& bitmap, int left, int top, QRgb colour, int bottom, int right)
{
    if (bitmap.isNull())
        return;
    if (bitmap.depth() != 32)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRect inside = bitmap.rect();
    // One detach for the whole frame, then the pixels directly.
    uchar* bits = bitmap.bits();
    const qsizetype stride = bitmap.bytesPerLine();
    auto put = [&](int x, int y) {
        if (inside.contains(x, y))
            reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
    };
    for (int x = left; x < right; ++x) {
        put(x, top);
        put(x, bottom - 1);
    }
    for (int y = top; y < bottom; ++y) {
        put(right - 1, y);
        put(left, y);
    }
}

QImage transparentImage(const QImage& bitmap)
{
    if (bitmap.width() < 2 || bitmap.height() < 2)
        return bitmap;
    const QImage source = bitmap.format() == QImage::Format_ARGB32_Premultiplied
                              ? bitmap
                              : bitmap.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // One pass from the bitmap into the picture; transparent black is the same in
    // premultiplied form, and every other pixel is copied as it is.
    QImage image(source.size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb key = reinterpret_cast<const QRgb*>(source.constScanLine(1))[1];
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x] == key ? 0 : from[x];
    }
    return image;
}
