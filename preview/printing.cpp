// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/printing.h"

#include "platform/richtext/richpainter.h"
#include "preview/printjob.h"
#include "preview/render.h"
#include "preview/rounding.h"

#include <QPainter>

#include <algorithm>

namespace {

int scaled(int pixels, int tenths)
{
    return roundEven(pixels * tenths / 10.0);
}

// The printed picture: the bitmap's pixels as they show on white paper, without the
// selection frame that a selected element carries on its outermost pixels (a picture
// element's border is white).
QImage printedPixels(const TGFXL& e)
{
    QImage image = e.Bitmap;
    if (e.Active)
        DrawFrame(image, 0, 0, qRgb(255, 255, 255), e.height(), e.width());
    return image;
}

} // namespace

int PictureScaleTenths(QSize picture, int boxWidth, int boxHeight)
{
    int s = kStartScaleTenths;
    // Lowers s by tenths until the side fits, never below the lowest scale.
    const auto lower = [&s](int pixels, int box) {
        while (s > kLowestScaleTenths) {
            --s;
            if (scaled(pixels, s) <= box)
                return;
        }
    };
    if (boxWidth < picture.width() * s / 10.0)
        lower(picture.width(), boxWidth);
    if (boxHeight < picture.height() * s / 10.0)
        lower(picture.height(), boxHeight);
    return s;
}

void PrintPicture(QPainter& painter, const TDrucker& geometry, int& x, int& y, const QImage& bitmap,
                  int boxHeight, int boxWidth, const QImage& picture)
{
    const int s = PictureScaleTenths(bitmap.size(), boxWidth, boxHeight);
    const int w = scaled(bitmap.width(), s);
    const int h = scaled(bitmap.height(), s);
    if (w > 0 && h > 0) {
        // A plain copy of the pixels: no smoothing, no lossy compression on the way.
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        const QRect printed(geometry.PrintOffsetX + x, geometry.PrintOffsetY + y, w, h);
        const QSize inside = bitmap.size() - QSize(2 * kPictureBorder, 2 * kPictureBorder);
        if (picture.width() > inside.width() || picture.height() > inside.height()) {
            // The border is white paper; the picture takes the place of the bitmap's
            // inside, in no more pixels than that place holds on the printer.
            const int from = scaled(kPictureBorder, s);
            const QRect place(printed.left() + from, printed.top() + from,
                              scaled(bitmap.width() - kPictureBorder, s) - from,
                              scaled(bitmap.height() - kPictureBorder, s) - from);
            // The painter may scale the page: the place's size in device pixels.
            const QSize onDevice = painter.worldTransform().mapRect(QRectF(place)).size().toSize();
            const bool larger =
                picture.width() > onDevice.width() || picture.height() > onDevice.height();
            const QImage pixels = larger ? picture.scaled(onDevice, Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation)
                                         : picture;
            painter.fillRect(printed, Qt::white);
            painter.drawImage(place, pixels.convertToFormat(QImage::Format_RGB32));
        } else {
            painter.drawImage(printed, bitmap.convertToFormat(QImage::Format_RGB32));
        }
        painter.restore();
    }
    x += w;
    y += h;
}

SheetOnPage PlaceSheetOnPage(const TDrucker& geometry, int dpi, QRect printable)
{
    if (dpi <= 0 || geometry.SheetWidth <= 0 || geometry.SheetHeight <= 0)
        return {};
    const double perCm = dpi / 2.54;
    const QRectF margins(QPointF((1.0 + geometry.LeftMarginCm) * perCm, 1.0 * perCm),
                         QPointF((geometry.PageWidthCm - kRightMarginCm) * perCm,
                                 (geometry.PageHeightCm - 1.0) * perCm));
    const QRectF area = margins & QRectF(printable);
    if (area.isEmpty())
        return {};
    const double scale = std::min({area.width() / geometry.SheetWidth,
                                   area.height() / geometry.SheetHeight, dpi / 96.0});
    return {area.topLeft() - QPointF(printable.topLeft()), scale};
}

void PrintSheetPage(QPainter& painter, rich::RenderTarget& printer, const TDrucker& geometry,
                    const SheetOnPage& sheet, int dpi, const ElementArray& elements,
                    const RichEditOf& richEdit, int page)
{
    // Everything is drawn at its true size on the printer (96 sheet pixels to the inch)
    // and the painter scales it onto the place of the sheet, fonts with positions.
    const double trueScale = dpi / 96.0;
    TDrucker g = geometry;
    g.PrintOffsetX = g.PrintOffsetY = 0;
    painter.save();
    painter.resetTransform();
    painter.translate(sheet.origin);
    painter.scale(sheet.scale / trueScale, sheet.scale / trueScale);
    for (int i = 0; i < elements.size(); ++i) {
        const TGFXL& e = elements.at(i);
        if (e.Page != page)
            continue;
        int px = roundEven(e.Left * trueScale);
        int py = roundEven(e.Top * trueScale);
        if (isPictureElement(i))
            PrintPicture(painter, g, px, py, printedPixels(e), roundEven(e.height() * trueScale),
                         roundEven(e.width() * trueScale), e.Picture);
        else
            rich::DrawRichText(printer, painter, px, py, richEdit(i), QPoint());
    }
    painter.restore();
}

bool PrintPages(PrintJob& job, const TDrucker& geometry, const ElementArray& elements,
                const RichEditOf& richEdit, int lastPageIndex, QString* error)
{
    const int dpi = job.resolution();
    const SheetOnPage sheet = PlaceSheetOnPage(geometry, dpi, job.printableArea());
    if (sheet.scale <= 0) {
        if (error)
            *error = QStringLiteral("The printer has no printable page for this paper format; "
                                    "nothing was printed.");
        return false;
    }
    QPainter painter;
    if (!job.begin(painter, error))
        return false;
    rich::RenderTarget printer(job.device(), rich::TargetKind::Printer);
    for (int p = 0; p <= lastPageIndex; ++p) {
        PrintSheetPage(painter, printer, geometry, sheet, dpi, elements, richEdit, p);
        if (p < lastPageIndex && !job.newPage(error)) {
            job.abort(painter);
            return false;
        }
    }
    return job.end(painter, error);
}
