// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QString>
#include <QStringList>

// The small markup the demo recipe texts are written in, turned into formatted text as
// the editor would save it. One line per paragraph:
//   "# Heading"  a heading (Verdana, bold, 11 pt, dark red)
//   "> Note"     a note (italic, dark blue)
//   "~ Tip"      a tip in a typewriter font (Courier New)
//   *bold* and _italic_ inside a line; everything else is Arial 10 pt.

namespace demo {

struct MarkedText {
    rich::RichDocument document; ///< the formatted text of the side file
    QStringList plainLines;      ///< the same text as plain lines, for the record
};

MarkedText parseMarkup(const QString& text);

/// Plain lines of a text without markup, one per line; empty text gives no lines.
QStringList plainLines(const QString& text);

} // namespace demo
