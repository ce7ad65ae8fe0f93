// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/pagegeometry.h"

#include "preview/printers.h"
#include "preview/rounding.h"

#include <QSizeF>

namespace {

constexpr long double kCmPerInch = 2.54L;
constexpr double kScreenDpi = 96.0;
constexpr double kFixedMarginCm = 1.0;

struct FormatRow {
    const char* name;
    double widthCm;
    double heightCm;
};

constexpr FormatRow kFormats[] = {
    {"DIN A4 (EU)", 21.0, 29.7},  {"DIN A5 (EU)", 14.8, 21.0},      {"Letter (US)", 21.59, 27.94},
    {"Legal (US)", 21.59, 35.56}, {"Executive (US)", 18.42, 26.67},
};

} // namespace

void InitPaperFormats(PaperFormats& formats)
{
    formats.clear();
    if (!PrinterAvailable(false))
        return;
    for (const FormatRow& row : kFormats) {
        TDruckModi format;
        format.FormatName = QString::fromLatin1(row.name);
        format.WidthCm = row.widthCm;
        format.HeightCm = row.heightCm;
        format.WidthInch = double(row.widthCm / kCmPerInch);
        format.HeightInch = double(row.heightCm / kCmPerInch);
        formats << format;
    }
}

void ComputePageMetrics(TDrucker& d, const PaperFormats& formats, int formatIndex, bool landscape,
                        bool selectDefault)
{
    d.PrinterName.clear();
    d.FontName = QStringLiteral("Arial");
    d.FontSize = 12;
    d.PageWidthCm = d.PageHeightCm = 0;
    if (formatIndex >= 0 && formatIndex < formats.size()) {
        const TDruckModi& format = formats.at(formatIndex);
        d.PageWidthCm = landscape ? format.HeightCm : format.WidthCm;
        d.PageHeightCm = landscape ? format.WidthCm : format.HeightCm;
    }
    d.PageLandscape = landscape;
    d.PrintWidth = d.PrintHeight = 0;
    d.Aspect = 0;
    d.SheetWidth = d.SheetHeight = 0;
    d.PrintOffsetX = d.PrintOffsetY = 0;
    d.LeftMarginCm = 1.5;
    d.SpareCm = 1.0;
    if (!PrinterAvailable(selectDefault))
        return;
    // Without a paper there is nothing to measure: the sheet stays 0 x 0.
    if (d.PageWidthCm <= 0 || d.PageHeightCm <= 0)
        return;
    d.PrinterName = CurrentPrinterName();
    const QSizeF paper =
        landscape ? QSizeF(d.PageHeightCm, d.PageWidthCm) : QSizeF(d.PageWidthCm, d.PageHeightCm);
    ApplyPrinterPage(d, Printers().pageSize(d.PrinterName, paper, landscape));
}

namespace {

// The printable area and its origin on a printer page of page pixels: 1 cm off the
// left edge plus the left margin, 1 cm off the top and the bottom.
bool setPrintArea(TDrucker& d, QSize page)
{
    d.PrintWidth = d.PrintHeight = 0;
    d.Aspect = 0;
    d.PrintOffsetX = d.PrintOffsetY = 0;
    if (page.isEmpty() || d.PageWidthCm <= 0 || d.PageHeightCm <= 0)
        return false;
    const double pxw = page.width() / d.PageWidthCm;
    const double pxh = page.height() / d.PageHeightCm;
    d.PrintWidth = page.width() - roundEven(pxw * kFixedMarginCm) - roundEven(pxw * d.LeftMarginCm);
    d.PrintHeight = page.height() - roundEven(pxh * 2.0 * kFixedMarginCm);
    if (d.PrintWidth <= 0 || d.PrintHeight <= 0) {
        d.PrintWidth = d.PrintHeight = 0;
        return false;
    }
    d.Aspect = double(d.PrintHeight) / d.PrintWidth;
    d.PrintOffsetX = roundEven(pxw * (kFixedMarginCm + d.LeftMarginCm));
    d.PrintOffsetY = roundEven(pxh * kFixedMarginCm);
    return true;
}

} // namespace

void ApplyPrinterPage(TDrucker& d, QSize page)
{
    d.SheetWidth = d.SheetHeight = 0;
    if (!setPrintArea(d, page))
        return;
    // The sheet is the paper of the format, whatever part of it the printer can print
    // on: its proportions are those of the paper at the built-in PDF printer's
    // resolution (the whole paper as its page), the same on every printer.
    TDrucker paper = d;
    setPrintArea(paper, pdfPageSize(QSizeF(d.PageWidthCm, d.PageHeightCm), false));
    d.SheetWidth = roundEven(
        double((d.PageWidthCm - (kFixedMarginCm + d.LeftMarginCm)) * kScreenDpi / kCmPerInch));
    d.SheetHeight = roundEven(d.SheetWidth * paper.Aspect);
}

TDrucker PrintGeometryForPage(const TDrucker& laidOut, QSize page)
{
    TDrucker d = laidOut;
    setPrintArea(d, page);
    return d;
}

PaperFormats& CurrentPaperFormats()
{
    static PaperFormats formats;
    return formats;
}

TDrucker& CurrentDrucker()
{
    static TDrucker drucker;
    return drucker;
}
