// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richdocument.h"
#include "preview/elements.h"
#include "preview/pagegeometry.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class PrintJob;
class QPainter;

// Printing the laid-out pages: every text element is drawn again on the printer from
// the wrapped text its rich edit holds, every picture element is stretched onto the
// page at a whole number of tenths of its pixel size. Positions and sizes go from the
// sheet to the printer by the proportions of the page geometry.

/// Picture scale search: from 15.0 down in tenths to 1.0.
inline constexpr int kStartScaleTenths = 150;
inline constexpr int kLowestScaleTenths = 10;

/// The scale, in tenths, a picture of picture pixels prints at in a box of boxWidth x
/// boxHeight printer pixels: the largest of 15.0, 14.9, ... (first for the width, then
/// lowered further for the height) at which it fits, never below 1.0.
int PictureScaleTenths(QSize picture, int boxWidth, int boxHeight);

/// Prints bitmap with its top-left corner at (PrintOffsetX + x, PrintOffsetY + y) of
/// geometry, scaled by PictureScaleTenths into a box of boxWidth x boxHeight printer
/// pixels (pixels copied, not smoothed); then advances x by the printed width and y by
/// the printed height. A picture with more pixels than the bitmap shows inside its white
/// border of kPictureBorder pixels (one fitted to the sheet) is printed from its own
/// pixels in that place instead, smoothly scaled down to the printed size when it is
/// larger, so the page holds no more of them than the printer's resolution needs.
void PrintPicture(QPainter& painter, const TDrucker& geometry, int& x, int& y, const QImage& bitmap,
                  int boxHeight, int boxWidth, const QImage& picture = {});

/// The least distance, in cm, between the printed sheet and the paper's right edge:
/// most printers cannot print nearer to it.
inline constexpr double kRightMarginCm = 0.5;

/// Where the sheet lies on a printer page.
struct SheetOnPage {
    QPointF origin;   ///< the sheet's top-left corner, in painter pixels
    double scale = 0; ///< printer pixels per sheet pixel, both ways and for the fonts
};

/// Places geometry's sheet on geometry's paper (PageWidthCm x PageHeightCm) for a
/// printer of dpi pixels per inch whose printable area is printable (device pixels
/// from the paper's top-left corner; the painter's origin is its top-left corner): the
/// sheet's left edge 1 cm + LeftMarginCm from the paper's left edge and its top 1 cm
/// from the top, no nearer than kRightMarginCm to the right edge or 1 cm to the bottom,
/// and inside the printable area; as large as that allows, at most at its true size
/// (96 sheet pixels to the inch). A scale of 0 when nothing fits.
SheetOnPage PlaceSheetOnPage(const TDrucker& geometry, int dpi, QRect printable);

/// The element's rich edit (the wrapped text a text element was drawn from).
using RichEditOf = std::function<rich::RichDocument&(int element)>;

/// Draws the elements lying on page of a layout made on geometry's sheet, placed on the
/// printer page as sheet says (PrintPages describes how), in index order; printer is
/// the render target of the painter's device.
void PrintSheetPage(QPainter& painter, rich::RenderTarget& printer, const TDrucker& geometry,
                    const SheetOnPage& sheet, int dpi, const ElementArray& elements,
                    const RichEditOf& richEdit, int page);

/// Prints pages 0 to lastPageIndex of a layout made on geometry's sheet as one job,
/// the sheet placed on each page by PlaceSheetOnPage (positions, pictures and fonts
/// scaled alike, so nothing the sheet shows is cut off):
/// on each page the elements lying on it in index order, a page without elements as
/// an empty sheet. Elements on no page or on a page above lastPageIndex are not
/// printed. Text is drawn from richEdit(i) as it was wrapped on screen (an empty line
/// of it becomes a single blank); nothing is wrapped again. Returns false with error
/// when the job cannot be started, continued or delivered.
bool PrintPages(PrintJob& job, const TDrucker& geometry, const ElementArray& elements,
                const RichEditOf& richEdit, int lastPageIndex, QString* error);
