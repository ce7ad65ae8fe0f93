// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QtGlobal>

#include <string_view>

// The RTF control words the reader gives a meaning to.

namespace rich::rtf {

enum class Kw : quint8 {
    Unknown,
    SkipDest, ///< a destination skipped with all it holds
    FontTable,
    ColorTable,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Bin,
    Plain,
    Font,
    FontSize,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Color,
    Hidden,
    Par,  ///< ends a line (par, line, row)
    Char, ///< stands for the character in Keyword::ch
    FontCharset,
    FontPitch,
    Red,
    Green,
    Blue,
};

struct Keyword {
    std::string_view name;
    Kw kw;
    char16_t ch = 0; ///< the character of a Kw::Char word
};

/// The keyword named name, or nullptr for control words the reader ignores.
const Keyword* findKeyword(std::string_view name);

} // namespace rich::rtf
