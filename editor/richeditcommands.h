// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QFont>
#include <QList>

class QTextDocument;
class QTextEdit;

// Commands of the editor's rich edits that act on their documents: the font of the
// selection, a dialog font given to a selection or to the deluxe columns, and the
// empty line mirrored into the other deluxe columns.

/// The font of the edit's selection (its first character, or the one before the caret),
/// as the font dialog starts with it.
QFont selectionFont(const QTextEdit* edit);

/// Gives the selection of edit face, size, style and pitch of font (never its colour);
/// with nothing selected, first selects the whole text. Undoable like typing.
void applyFontToEdit(QTextEdit* edit, const QFont& font);

/// Gives the whole text of each column face, size and pitch of font but keeps each
/// character's bold, italic, underline and strike-out; each column is left with its
/// whole text selected.
void applyFontToColumns(const QList<QTextEdit*>& columns, const QFont& font);

/// Inserts an empty line into doc so that it becomes line row (counted from 0): before
/// the line that is there now, or at the end when the text has no such line. The new
/// line takes the formats of the line it is split from, so typing in it looks alike.
void insertMirroredLine(QTextDocument* doc, int row);
