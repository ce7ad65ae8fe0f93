// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252 ("ANSI") text, the encoding of every program file.
//
// Record texts are kept as Windows-1252 byte strings so that byte-order sorting and
// the byte-wise text rules are exact; these functions convert at the boundaries.
namespace cp1252 {

/// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined
/// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, as
/// Windows does, so every byte string survives a round trip.
QString toUnicode(QByteArrayView bytes);
/// The same into out, reusing its storage: for loops that decode many short texts.
void toUnicode(QByteArrayView bytes, QString* out);

/// Encodes to Windows-1252; a character the code page cannot hold becomes "?".
QByteArray fromUnicode(QStringView text);

/// True when the character has a Windows-1252 byte.
bool canEncode(QChar ch);

/// Locale-style upper-casing of Windows-1252 text: each character takes its Unicode
/// upper-case mapping when that mapping is a single Windows-1252 character. "ß" has no
/// single capital and stays as it is.
QByteArray toUpper(QByteArrayView bytes);
QByteArray toLower(QByteArrayView bytes);
char toUpper(char byte);
char toLower(char byte);

} // namespace cp1252
