// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richdocument.h"
#include "platform/richtext/richlayout.h"
#include "preview/elements.h"

#include <QImage>
#include <QString>

// Rendering an element's content into its bitmap: text is loaded from the element's
// rich-text file, wrapped to the element's width character by character and drawn at a
// margin of 2 pixels; pictures keep the bitmap they were loaded into.

/// Text is drawn this far from the bitmap's left and top edge.
inline constexpr int kTextMargin = 2;
/// Added to the longest line's width and to the wrapped height.
inline constexpr int kWidthAllowance = 4;
/// Text elements are never narrower.
inline constexpr int kMinTextWidth = 20;

/// What rendering text needs besides the element: the screen target to measure and
/// draw on, whether a printer exists (without one text is not wrapped), and the
/// scratch file the wrapped text passes through.
struct RenderContext {
    rich::RenderTarget& screen;
    rich::PrinterStatus printer;
    QString scratchFile;
};

/// Renders element i. full: lays the content out from scratch, as wide as its longest
/// line (+ 4, at least 20), and takes the element's current position as its anchor; not
/// full: lays it out again at the bitmap's current width, never wider than the longest
/// line needs (columns always take their longest line). doc is the element's rich edit;
/// afterwards it holds the wrapped text. Columns are aligned after their render.
///
/// A text element without a content file renders as an empty text. A content file or
/// scratch file that cannot be read or written abandons the render with the element
/// and doc unchanged, and error names the file. contentBytes, when given, receives the
/// bytes of the content file the text was laid out from.
bool RenderElement(bool full, int i, ElementArray& elements, rich::RichDocument& doc,
                   RenderContext& context, QString* error = nullptr,
                   QByteArray* contentBytes = nullptr);

/// Sets single pixels along the rectangle's outline: rows top and bottom - 1 from left
/// to right - 1, columns left and right - 1 from top to bottom - 1. Pixels outside the
/// bitmap are left alone.
void DrawFrame(QImage& bitmap, int left, int top, QRgb colour, int bottom, int right);

/// The picture an element's image control shows: the bitmap with the colour of its
/// pixel (1, 1) made transparent, so the sheet shows between the letters of a text.
QImage transparentImage(const QImage& bitmap);
