// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/elements.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <Qt>

#include <optional>

// Laying elements out with the mouse, as plain rules: which drag a pointer position
// over the active element would start (the hit test), what one pointer move does to
// the dragged element (the drag step), and which commands the element's pop-up menu
// offers. The preview window feeds them pointer positions in sheet pixels.

/// Drag modes: what pressing and moving the pointer does to the active element.
enum DragMode : int {
    kDragNone = 0,
    kDragMove = 1,
    kDragTopLeft = 2,
    kDragBottomRight = 3,
    kDragTopRight = 4,
    kDragBottomLeft = 5,
    kDragTop = 6,
    kDragBottom = 7,
    kDragLeft = 8,
    kDragRight = 9,
};

/// Width of the corner and edge zones, measured inwards from the element's border.
inline constexpr int kHandleBand = 6;
/// Smallest width and height a resize may give.
inline constexpr int kMinDragSize = 30;

/// The cursor shape shown over a zone of the given drag mode.
Qt::CursorShape cursorForDragMode(int mode);

/// Whether element i can be resized with the mouse: neither a picture nor a column.
bool isResizable(const TGFXL& e);

/// The drag mode a press at sheet point (x, y) would start on element i: none for an
/// inactive element and for the unit, ingredient-name and preparation columns, a
/// corner or edge of a resizable element within the handle band (corners first; on an
/// element smaller than three bands a third of its size), a move anywhere else inside
/// the element (borders included).
int HitTest(const TGFXL& e, int i, int x, int y);

/// One drag step's outcome: the element's new place and size, and where the pointer
/// is to be put back when a limit stopped the drag (sheet coordinates).
struct DragOutcome {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::optional<QPoint> pointer;
};

/// Where an element of size placed at (left, top) lies once kept on the sheet: moved in
/// as little as needed; an element larger than the sheet ends flush with its far edge.
QPoint keptOnSheet(int left, int top, QSize size, QSize sheet);

/// What one pointer move at sheet point (x, y) does to element e, dragged in its
/// DragMode on a sheet of the given size. A move keeps the grab offset and keeps what
/// moves on the sheet: e, or a block of size moved with e at its top-left corner (the
/// column group that follows the quantity column); a block larger than the sheet ends
/// flush with its far edge. A resize moves the edges the mode names, keeps the
/// opposite ones at the anchor, never goes below 30 pixels (below the anchor's size
/// when that is smaller) or past the sheet, and puts the pointer back on the limit it
/// hit.
DragOutcome DragStep(const TGFXL& e, int x, int y, QSize sheet, QSize moved = QSize());

/// The element pop-up menu: which of its five items show, which are enabled, and the
/// captions of the two that change with the edit box.
struct PopupItems {
    bool any() const { return edit || hide || fit || centre || close; }
    bool edit = false;   ///< "Edit" / "Select Font"
    bool hide = false;   ///< "hide"
    bool fit = false;    ///< "Resize to page width"
    bool centre = false; ///< "Center horizontal"
    bool close = false;  ///< "Close pop-up menu" / "Close edit box"
    bool editEnabled = true;
    QString editCaption;
    QString closeCaption;
};

/// The pop-up items for element i (the active element, or the first one when none is
/// active) with the pointer at (x, y) on a sheet sheetWidth wide. With the edit box
/// closed nothing shows unless the element is active and the pointer lies on it; with
/// it open, "Select Font" needs a selection unless the element's font always applies
/// to its whole text.
PopupItems ComputePopupItems(const TGFXL& e, int i, int x, int y, int sheetWidth,
                             bool editBoxOpen, bool editBoxHasSelection);

/// Left of an element width pixels wide centred on a sheet sheetWidth wide.
inline int centredLeft(int sheetWidth, int width)
{
    return sheetWidth / 2 - width / 2;
}

/// Whether an element is shown so wide that it is fitted to the sheet on opening.
inline bool isOverWide(const TGFXL& e, int sheetWidth)
{
    return e.Shown && e.width() > sheetWidth - 4;
}
