// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "platform/safefile.h"

#include <QByteArray>
#include <QString>

// Writing RTF the way a Windows rich edit control saves its text: an ANSI (Windows-1252)
// header with font and colour tables, then the text with every line, the last one
// included, closed by \par. Characters outside ASCII are written as \'hh when
// Windows-1252 holds them and the font uses the ANSI character set, otherwise as \uN
// with "?" as the fallback for readers without Unicode.
//
// The output is deterministic: tables list fonts and colours in the order the text
// first uses them, so a document read back from the output writes the same bytes again.
// Character heights are not stored: RTF knows sizes only, and the height follows from
// the size. Black is written as the automatic colour.

namespace rich {

/// The document as RTF. A document without lines is written as one empty paragraph in
/// the document's default format.
QByteArray writeRtf(const RichDocument& doc);

/// Writes the document as an RTF file, replacing the file atomically.
bool writeRtfFile(const QString& path, const RichDocument& doc, QString* error = nullptr,
                  Durability durability = Durability::Synced);

} // namespace rich
