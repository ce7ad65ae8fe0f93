// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richdocument.h"

// Measuring and word-wrapping formatted text on a target device, character by
// character through each character's own format.

namespace rich {

/// Width of a line's end mark. The end mark is measured like a character, but nothing
/// is shown for it, and Qt's own text layout (the editor's) gives a paragraph end no
/// advance either, so it takes no room. Its height still counts towards the line's.
inline constexpr int kLineEndWidth = 0;

/// Whether a usable printer exists. Without one, text is not wrapped at all.
enum class PrinterStatus { Available, Missing };

/// Width in pixels on target of one line of doc: the sum of the advance widths of its
/// characters, each in its own format, plus the line-end mark. 0 for a line that does
/// not exist. The document and its selection are not changed.
int MeasureLineWidth(RenderTarget& target, const RichDocument& doc, int line);

/// Wraps doc from line fromLine on (-1: from the first line) by inserting line breaks
/// so that no line is wider than maxWidth pixels on target, and returns the sum of the
/// heights of those lines.
///
/// A line is measured until its width passes maxWidth at some character; the break
/// goes right after the last single blank before it (a blank followed by a non-blank,
/// so a run of blanks stays at the end of the first part), or, when there is none, at
/// that character itself (a word that does not fit on a line is cut). The rest
/// becomes the next line and is measured next. Every line keeps at least one
/// character, so a character wider than maxWidth stands alone on its line and
/// wrapping always ends.
///
/// A line's height is the largest text height among its characters and its end mark;
/// an empty line counts the height of a blank in the current attributes, those of the
/// last character measured before it (the document's default attributes at first).
///
/// Returns 0 and changes nothing when no printer is available, the document has no
/// lines, or fromLine is neither -1 nor a line of it. Otherwise the selection start
/// is kept (as a caret: the length becomes 0).
int WrapText(RenderTarget& target, RichDocument& doc, int maxWidth, int fromLine,
             PrinterStatus printer);

/// How often text was measured or wrapped in this process (calls of MeasureLineWidth
/// and WrapText), so a benchmark can tell that an operation laid no text out.
quint64 layoutPasses();

} // namespace rich
