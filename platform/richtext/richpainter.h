// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richdocument.h"

#include <QPoint>

class QPainter;

// Drawing formatted text character by character, each in its own font and colour, at
// the advances MeasureLineWidth and WrapText measure, so the drawn text occupies
// exactly the room that laying it out gave it.

namespace rich {

/// Draws doc with painter, whose device must have target's resolution (the screen
/// target's 96 dpi for an element bitmap, the printer itself for a page).
///
/// Each line starts at x; each character is drawn with the top of its text cell at y
/// and advances x by its width. A line's height is the largest text height of its
/// characters and end mark; an empty line is as high as a blank in its end mark's
/// font. After each line y grows by that height. Afterwards y is below the last line
/// and x at the end of the last line. A document without lines draws nothing and
/// leaves x and y alone; an inactive painter draws nothing, but x and y move as if it
/// had.
///
/// On a printer target the text lands at (x, y) + printerOffset, and every empty line
/// is first given a single blank in its end mark's format (the document changes).
/// On the screen the offset is not used. Text is drawn without a background, so
/// whatever lies beneath shows between the letters. A box to tick (U+2610) that a
/// character's face lacks is drawn as an empty square in the character's advance.
void DrawRichText(RenderTarget& target, QPainter& painter, int& x, int& y, RichDocument& doc,
                  QPoint printerOffset = QPoint());

} // namespace rich
