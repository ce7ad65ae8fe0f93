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
