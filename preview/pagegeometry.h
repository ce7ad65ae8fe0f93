// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QSize>
#include <QString>

class PrinterInterface;

// The paper formats and the page geometry that ties the on-screen sheet (96 pixels per
// inch, no zoom) to the printer page.

/// One paper format.
struct TDruckModi {
    double WidthCm = 0;   ///< portrait width
    double HeightCm = 0;  ///< portrait height
    double WidthInch = 0; ///< WidthCm / 2.54
    double HeightInch = 0;
    QString FormatName;
    quint8 Reserved = 0;
};

using PaperFormats = QList<TDruckModi>;

/// Builds the format table: its five rows when a printer can be used, otherwise empty.
void InitPaperFormats(PaperFormats& formats);

/// The page geometry.
struct TDrucker {
    QString PrinterName;
    QString FontName;
    int FontSize = 0;
    double LeftMarginCm = 1.5; ///< left margin beyond the fixed 1 cm
    double SpareCm = 1.0;
    double PageWidthCm = 0; ///< after orientation
    double PageHeightCm = 0;
    int PrintWidth = 0; ///< printable width in printer pixels
    int PrintHeight = 0;
    double Aspect = 0; ///< PrintHeight / PrintWidth
    bool PageLandscape = false;
    int SheetWidth = 0; ///< on-screen sheet in screen pixels
    int SheetHeight = 0;
    int PrintOffsetX = 0; ///< origin of the printed area on the printer page
    int PrintOffsetY = 0;
};

/// Fills drucker from row formatIndex of formats, the orientation and the current
/// printer. Without a usable printer, or without a row formatIndex (an empty table),
/// every pixel size stays 0; no row outside the table is ever read.
void ComputePageMetrics(TDrucker& drucker, const PaperFormats& formats, int formatIndex,
                        bool landscape, bool selectDefault);

/// Steps of ComputePageMetrics after the printer was asked: the printable area, its
/// origin and the sheet, from the printer's page of page pixels and the paper in
/// drucker. An empty page leaves every pixel size 0.
void ApplyPrinterPage(TDrucker& drucker, QSize page);

/// The geometry to print a layout made on laidOut's sheet with a printer whose page
/// is page pixels (the paper staying the same): the printable area and its origin
/// come from that page, the sheet stays the one the layout was made on. For the
/// printer the geometry was computed for, this is laidOut itself; another printer
/// chosen in the print dialog gets the same proportions at its own resolution.
TDrucker PrintGeometryForPage(const TDrucker& laidOut, QSize page);

/// The format table and the page geometry of the run.
PaperFormats& CurrentPaperFormats();
TDrucker& CurrentDrucker();
