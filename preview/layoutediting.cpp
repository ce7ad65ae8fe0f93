// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/layoutediting.h"

#include <algorithm>

namespace {

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

Qt::CursorShape cursorForDragMode(int mode)
{
    switch (mode) {
    case kDragMove:
        return Qt::PointingHandCursor;
    case kDragTopLeft:
    case kDragBottomRight:
        return Qt::SizeFDiagCursor;
    case kDragTopRight:
    case kDragBottomLeft:
        return Qt::SizeBDiagCursor;
    case kDragTop:
    case kDragBottom:
        return Qt::SizeVerCursor;
    case kDragLeft:
    case kDragRight:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool isResizable(const TGFXL& e)
{
    return e.ColumnGroup == 0 && !e.IsPicture;
}

int HitTest(const TGFXL& e, int i, int x, int y)
{
    if (!e.Active || i == kUnit || i == kIngredientName || i == kPreparation)
        return kDragNone;
    const int l = e.Left;
    const int t = e.Top;
    const int r = l + e.width();
    const int b = t + e.height();
    // On an element narrower or lower than three bands, the bands take a third each
    // way, so the middle third still moves it.
    const int kx = std::min(kHandleBand, e.width() / 3);
    const int ky = std::min(kHandleBand, e.height() / 3);
    if (isResizable(e)) {
        // Corners before edges, so the corner squares win where the bands cross.
        struct Zone {
            int mode;
            int x0, x1, y0, y1;
        };
        const Zone zones[] = {
            {kDragTopLeft, l, l + kx, t, t + ky},
            {kDragBottomRight, r - kx, r, b - ky, b},
            {kDragTopRight, r - kx, r, t, t + ky},
            {kDragBottomLeft, l, l + kx, b - ky, b},
            {kDragTop, l + kx, r - kx, t, t + ky},
            {kDragBottom, l + kx, r - kx, b - ky, b},
            {kDragLeft, l, l + kx, t + ky, b - ky},
            {kDragRight, r - kx, r, t + ky, b - ky},
        };
        for (const Zone& z : zones) {
            if (within(x, z.x0, z.x1) && within(y, z.y0, z.y1))
                return z.mode;
        }
    }
    return within(x, l, r) && within(y, t, b) ? kDragMove : kDragNone;
}

QPoint keptOnSheet(int left, int top, QSize size, QSize sheet)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    // The far edges last: an element larger than the sheet ends flush with them.
    if (left > sheet.width() - size.width())
        left = sheet.width() - size.width();
    if (top > sheet.height() - size.height())
        top = sheet.height() - size.height();
    return {left, top};
}

DragOutcome DragStep(const TGFXL& e, int x, int y, QSize sheet, QSize moved)
{
    DragOutcome out{e.Left, e.Top, e.width(), e.height(), std::nullopt};
    const int pw = sheet.width();
    const int ph = sheet.height();
    const int mode = e.DragMode;
    if (mode == kDragMove) {
        const QSize kept = moved.isValid() ? moved : QSize(out.width, out.height);
        const QPoint at = keptOnSheet(x - e.GrabX, y - e.GrabY, kept, sheet);
        out.left = at.x();
        out.top = at.y();
        return out;
    }
    if (mode < kDragTopLeft || mode > kDragRight)
        return out;
    const bool leftEdge = mode == kDragTopLeft || mode == kDragBottomLeft || mode == kDragLeft;
    const bool topEdge = mode == kDragTopLeft || mode == kDragTopRight || mode == kDragTop;
    const bool rightEdge =
        mode == kDragBottomRight || mode == kDragTopRight || mode == kDragRight;
    const bool bottomEdge =
        mode == kDragBottomRight || mode == kDragBottomLeft || mode == kDragBottom;
    const int sl = e.AnchorLeft;
    const int st = e.AnchorTop;
    const int sw = e.AnchorWidth;
    const int sh = e.AnchorHeight;
    // An element already smaller than the least size a resize gives is never grown,
    // nor pushed past its own far edge, by dragging an edge inwards.
    const int minWidth = std::clamp(sw, 1, kMinDragSize);
    const int minHeight = std::clamp(sh, 1, kMinDragSize);
    // Each limit that stops an edge puts the pointer back on it in that edge's
    // direction; a corner stopped both ways puts it on the corner.
    QPoint put(x, y);
    bool stopped = false;
    auto putX = [&](int to) { put.setX(to); stopped = true; };
    auto putY = [&](int to) { put.setY(to); stopped = true; };
    if (leftEdge) {
        int left = x;
        if (x < 0) {
            left = 0;
            putX(e.Left);
        }
        if (left > sl + sw - minWidth) {
            left = sl + sw - minWidth;
            putX(left);
        }
        out.left = left;
        out.width = sl + sw - left;
    }
    if (topEdge) {
        int top = y;
        if (y < 0) {
            top = 0;
            putY(e.Top);
        }
        if (top > st + sh - minHeight) {
            top = st + sh - minHeight;
            putY(top);
        }
        out.top = top;
        out.height = st + sh - top;
    }
    if (rightEdge) {
        int width = x - sl;
        if (out.left + width > pw) {
            width = pw - out.left;
            putX(pw);
        }
        if (width < minWidth) {
            width = minWidth;
            putX(out.left + minWidth);
        }
        out.width = width;
    }
    if (bottomEdge) {
        int height = y - st;
        if (out.top + height > ph) {
            height = ph - out.top;
            putY(ph);
        }
        if (height < minHeight) {
            height = minHeight;
            putY(out.top + minHeight);
        }
        out.height = height;
    }
    if (stopped)
        out.pointer = put;
    return out;
}

PopupItems ComputePopupItems(const TGFXL& e, int i, int x, int y, int sheetWidth,
                             bool editBoxOpen, bool editBoxHasSelection)
{
    PopupItems items;
    if (editBoxOpen) {
        items.editCaption = QStringLiteral("Select Font");
        items.closeCaption = QStringLiteral("Close edit box");
        items.edit = true;
        items.close = true;
        items.editEnabled = editBoxHasSelection || e.WholeTextFont;
        return items;
    }
    items.editCaption = QStringLiteral("Edit");
    items.closeCaption = QStringLiteral("Close pop-up menu");
    const bool onIt = within(x, e.Left, e.Left + e.width()) &&
                      within(y, e.Top, e.Top + e.height());
    if (!e.Active || !onIt)
        return items;
    const bool column = isColumn(i);
    if (!e.IsPicture) {
        items.edit = true;
        items.close = true;
        items.fit = e.width() > sheetWidth && !column;
    }
    items.centre = e.width() < sheetWidth - 4 && !column;
    items.hide = true;
    return items;
}
