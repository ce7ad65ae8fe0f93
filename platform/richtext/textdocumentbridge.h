// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;

// Conversion between the document model and QTextDocument, the document of the
// QTextEdit that edits formatted texts: one QTextBlock per line, each character's font
// name, size, style, colour and pitch carried over; the character set, which Qt fonts
// do not have, travels in a user property of the character format.
//
// Both count positions alike (one per line break), so a selection maps one to one.

namespace rich {

/// Qt character format of a model format.
QTextCharFormat toTextCharFormat(const CharFormat& format);

/// A Qt character format that carries only the given parts (FontPart flags of
/// fonttransfer.h) of a model format, for merging into text that keeps the rest. A
/// default pitch merged into text of variable pitch leaves it variable.
QTextCharFormat toTextCharFormatParts(const CharFormat& format, quint8 parts);

/// Model format of a Qt character format; what the Qt format leaves unset comes from
/// base (usually the document's default font).
CharFormat fromTextCharFormat(const QTextCharFormat& format, const CharFormat& base);

/// Replaces the content of target by doc. A line's end mark format becomes its block's
/// character format; the document's default format becomes target's default font.
void toTextDocument(const RichDocument& doc, QTextDocument* target);

/// The model of a QTextDocument. A line separator inside a block (Shift+Enter) starts a
/// new line; embedded objects are dropped. A single empty block gives a document
/// without lines whose default format is that block's format.
RichDocument fromTextDocument(const QTextDocument* source);

/// Selects in cursor's document what doc has selected.
void selectionToCursor(const RichDocument& doc, QTextCursor& cursor);

/// Sets doc's selection from a cursor's selection.
void selectionFromCursor(const QTextCursor& cursor, RichDocument& doc);

} // namespace rich
