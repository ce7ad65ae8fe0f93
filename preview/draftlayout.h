// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/elements.h"
#include "preview/pagegeometry.h"
#include "preview/previewstate.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// The copies between the preview and a draft, the thumbnail of a page, and the texts
// and outline of the print format window: what those windows do that needs no window.

/// Placements := one entry per element, in element order, with its Left, Top and Page.
void CapturePlacements(TDruckvorlage& draft, const ElementArray& elements);

/// Takes the rest of a layout into draft when it is saved: the preview's layout kind,
/// paper format, orientation and page count, and the name and comment lines the user
/// gave (commentText split into lines; no lines when it is empty).
void CaptureLayout(TDruckvorlage& draft, const PreviewState& state, const QString& name,
                   const QString& commentText);

/// The thumbnail of a page: a white picture of the sheet's size with the bitmap of each
/// element on that page copied at its place, later elements over earlier ones.
QImage DrawThumbnail(const ElementArray& elements, int page, QSize sheet);

/// "8.27 inch x 11.69 inch": the paper's inch sizes with two decimals, the height first
/// for landscape.
QString paperSizeInches(const TDruckModi& format, bool landscape);
/// The same in centimetres ("21.00 cm x 29.70 cm").
QString paperSizeCentimetres(const TDruckModi& format, bool landscape);

/// The outline of a page in the print format window: 60 x 70 for portrait, 100 x 60
/// for landscape, white with a black border of one pixel.
QImage pageOutline(bool landscape);
