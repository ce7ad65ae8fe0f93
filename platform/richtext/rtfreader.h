// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QByteArrayView>
#include <QString>

// Reading RTF as Windows rich edit controls, WordPad and LibreOffice write it.
//
// Every \par (and \line) ends a line, the last one included, so "text\par}" is one
// line and "text\par\par}" is that line followed by an empty one; text after the last
// \par forms a last line of its own. A document whose only content is one empty
// paragraph reads as a document without lines. Text that names no font takes the
// \deff font, text that names no size is 12 points (RTF's default). Bytes after the
// closing brace are ignored.

namespace rich {

/// Reads RTF into doc, replacing what it held. Returns true for complete, well-formed
/// RTF. Otherwise returns false, sets error and leaves in doc what could be read: the
/// text up to the damage, or, for data that is not RTF at all, the data as plain
/// Windows-1252 lines. Never reads past the data, never nests or allocates without
/// bound. The document's default format becomes the format at its first position.
bool readRtf(QByteArrayView bytes, RichDocument& doc, QString* error = nullptr);

/// Reads an RTF file. A file that cannot be read leaves doc empty and returns false.
bool readRtfFile(const QString& path, RichDocument& doc, QString* error = nullptr);

/// Reads only the text of RTF: the same text, result and error as readRtf followed by
/// RichDocument::plainText, without building the document (no per-character formats,
/// no line objects).
bool readRtfText(QByteArrayView bytes, QString* text, QString* error = nullptr);

/// readRtfFile for the text only, as readRtfText.
bool readRtfFileText(const QString& path, QString* text, QString* error = nullptr);

} // namespace rich
