// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QString>

// Limits and conventions that the RTF reader and writer share, so that whatever the
// writer produces reads back unchanged and a second write gives the same bytes.

namespace rich::rtf {

/// Font sizes in half points outside this range are clamped (1638 points is the
/// largest size a rich edit control accepts).
inline constexpr int kMinHalfPoints = 1;
inline constexpr int kMaxHalfPoints = 3276;

/// Size of text that names no size: 12 points, as RTF defines it.
inline constexpr int kDefaultHalfPoints = 24;

/// Font names longer than this are cut.
inline constexpr int kMaxFontNameLength = 256;

/// Font used where a document names none (no font table, or an unknown font number).
inline QString defaultFontName()
{
    return CharFormat().fontName;
}

/// Text that RTF cannot carry is dropped: control characters other than the tab.
inline bool isDroppedChar(char16_t ch)
{
    return ch < 0x20 && ch != u'\t';
}

/// A font name as it reads back: control characters dropped, cut to the maximum
/// length, surrounding blanks removed.
QString normalizedFontName(const QString& name);

/// True for character sets whose 8-bit codes are the document's ANSI code page
/// (ANSI_CHARSET 0, DEFAULT_CHARSET 1).
inline bool isAnsiCharset(int charset)
{
    return charset == 0 || charset == 1;
}

} // namespace rich::rtf
