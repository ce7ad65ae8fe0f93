// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QFont>

// Copying fonts between a font dialog and a document's selection. A font is either our
// own CharFormat or the QFont a QFontDialog works with; both carry face name, size
// (and the matching 96-dpi height), style and pitch. The colour never travels.

namespace rich {

class RenderTarget;

/// Parts of a font that a transfer copies.
enum FontPart : quint8 {
    FacePart = 0x01,  ///< face name
    SizePart = 0x02,  ///< size and 96-dpi height
    StylePart = 0x04, ///< bold, italic, underline, strike-out
    PitchPart = 0x08, ///< pitch
    AllFontParts = FacePart | SizePart | StylePart | PitchPart,
};

/// A QFont for a font dialog or an editor: face name, point size, style and pitch of
/// format.
QFont toQFont(const CharFormat& format);

/// The attributes of font laid over base: face name, size and 96-dpi height, style and
/// pitch come from font (fixed pitch when the font asks for it or its face is of fixed
/// pitch), colour and character set stay base's.
CharFormat fromQFont(const QFont& font, const CharFormat& base = CharFormat());

/// The family a font dialog lists for a stored font name: the name itself when that
/// family is installed, otherwise the family fontconfig shows in its place (Liberation
/// Sans for Arial).
QString dialogFontFamily(const QString& name);

/// The name to store for a family chosen in a font dialog, so that files keep the names
/// Windows knows: textName (the name the text had) when the family is what textName
/// shows as; the Windows name (Arial, Times New Roman, Courier New, Verdana, MS Sans
/// Serif) the family stands in for; otherwise the family itself.
QString storedFontName(const QString& chosenFamily, const QString& textName);

/// The font a font dialog starts on for a text in textFont: the family and style the
/// text shows in, its size and effects.
QFont fontForDialog(const QFont& textFont);

/// The font a dialog's choice gives a text that was in textFont: the family stored
/// under its Windows name (storedFontName), and the text's own size while the dialog's
/// whole-point size is the one it started on.
QFont fontFromDialog(const QFont& chosen, const QFont& textFont);

/// Copies face name, size, height, style and pitch of doc's selection (its first
/// character, or the one before the caret) into font. font's colour and character
/// set stay as they are.
void FontFromSelection(CharFormat& font, const RichDocument& doc);
void FontFromSelection(QFont& font, const RichDocument& doc);

/// Copies the parts of font into every character of doc's selection (with an empty
/// selection into the attributes new text takes). Other attributes stay.
void applyFontParts(const CharFormat& font, quint8 parts, RichDocument& doc);

/// Copies face name, size, height, style and pitch of font into doc's selection; with
/// alsoPrinter, first into that target's canvas font. The colour is never applied.
void ApplyFontToSelection(RenderTarget* alsoPrinter, const CharFormat& font, RichDocument& doc);
void ApplyFontToSelection(RenderTarget* alsoPrinter, const QFont& font, RichDocument& doc);

/// The deluxe columns' variant: face name, size, height and pitch of font, but not its
/// style, into doc's selection, so the columns share one face and size while each
/// keeps its own bold, italic, underline and strike-out.
void ApplyFontToSelectionKeepStyle(const CharFormat& font, RichDocument& doc);
void ApplyFontToSelectionKeepStyle(const QFont& font, RichDocument& doc);

} // namespace rich
