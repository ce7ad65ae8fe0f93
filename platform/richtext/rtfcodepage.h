// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QtGlobal>

// Code pages of 8-bit text in RTF: the document's ANSI code page and those of the font
// character sets.

namespace rich::rtf {

/// Marks a symbol font: its bytes are taken as they are (Latin-1).
inline constexpr int kCodepageSymbol = -1;

/// Windows code page of a font character set; 0 means "the document's ANSI code page".
int codepageForCharset(int charset);

/// Name under which QStringDecoder knows a Windows code page.
QByteArray decoderName(int codepage);

/// One Windows-1252 byte as Unicode.
char16_t decodeCp1252(uchar byte);

} // namespace rich::rtf
