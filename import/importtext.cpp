// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/importrecipe.h"

#include "platform/cp1252.h"

#include <QStringDecoder>

// How the bytes of an imported file become text: the byte-order marks and UTF-8 first,
// then the code pages of old collections (Windows-1252, or DOS code page 437 for files
// written by DOS programs).

namespace {

// DOS code page 437 above 127: accented letters, the signs recipes used (½ 0xAB, ¼ 0xAC,
// ° 0xF8) and the box-drawing characters.
constexpr char16_t kCp437[128] = {
    u'\u00C7', u'\u00FC', u'\u00E9', u'\u00E2', u'\u00E4', u'\u00E0', u'\u00E5', u'\u00E7',
    u'\u00EA', u'\u00EB', u'\u00E8', u'\u00EF', u'\u00EE', u'\u00EC', u'\u00C4', u'\u00C5',
    u'\u00C9', u'\u00E6', u'\u00C6', u'\u00F4', u'\u00F6', u'\u00F2', u'\u00FB', u'\u00F9',
    u'\u00FF', u'\u00D6', u'\u00DC', u'\u00A2', u'\u00A3', u'\u00A5', u'\u20A7', u'\u0192',
    u'\u00E1', u'\u00ED', u'\u00F3', u'\u00FA', u'\u00F1', u'\u00D1', u'\u00AA', u'\u00BA',
    u'\u00BF', u'\u2310', u'\u00AC', u'\u00BD', u'\u00BC', u'\u00A1', u'\u00AB', u'\u00BB',
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',
    u'\u03B1', u'\u00DF', u'\u0393', u'\u03C0', u'\u03A3', u'\u03C3', u'\u00B5', u'\u03C4',
    u'\u03A6', u'\u0398', u'\u03A9', u'\u03B4', u'\u221E', u'\u03C6', u'\u03B5', u'\u2229',
    u'\u2261', u'\u00B1', u'\u2265', u'\u2264', u'\u2320', u'\u2321', u'\u00F7', u'\u2248',
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u207F', u'\u00B2', u'\u25A0', u'\u00A0',
};

QString fromCp437(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char c : bytes) {
        const uchar b = uchar(c);
        *out++ = b < 0x80 ? QChar(char16_t(b)) : QChar(kCp437[b - 0x80]);
    }
    return text;
}

bool isAsciiLetter(uchar b)
{
    return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
}

bool isAsciiDigit(uchar b)
{
    return b >= '0' && b <= '9';
}

bool isBoxDrawing(uchar b)
{
    return b >= 0xB0 && b <= 0xDF;
}

// True when the bytes read better as DOS code page 437 than as Windows-1252. Each byte
// above 127 votes by its neighbours: a degree sign or a fraction after a number, an
// accented letter inside a word, a run of box-drawing characters. Without votes for DOS
// the text is Windows-1252.
bool looksLikeDosText(QByteArrayView bytes)
{
    const bool closingGuillemet = bytes.contains('\xBB');
    int dos = 0, windows = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80)
            continue;
        const uchar prev = i > 0 ? uchar(bytes[i - 1]) : ' ';
        const uchar next = i + 1 < n ? uchar(bytes[i + 1]) : ' ';
        const bool afterNumber =
            isAsciiDigit(prev) || (prev == ' ' && i > 1 && isAsciiDigit(uchar(bytes[i - 2])));
        const bool inWord = isAsciiLetter(prev) && isAsciiLetter(next);
        if (b == 0xF8) { // ° after a number in DOS, ø in a word in Windows
            dos += afterNumber;
            windows += inWord;
        } else if (b == 0xB0) { // ° in Windows, a shade block in DOS
            windows += afterNumber;
        } else if (b == 0xAB) { // ½ in DOS, « in Windows (which then closes with »)
            (afterNumber || !closingGuillemet ? dos : windows) += 1;
        } else if (b == 0xAC) { // ¼ in DOS, ¬ in Windows
            dos += 1;
        } else if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            dos += 1; // no character in Windows-1252
        } else if (isBoxDrawing(b) && (isBoxDrawing(prev) || isBoxDrawing(next))) {
            dos += 1; // a line of boxes; Windows letters rarely stand side by side
        } else if (inWord && b <= 0xA5 && b != 0x91 && b != 0x92 && b != 0x96 && b != 0x97) {
            dos += 1; // DOS letters; in Windows punctuation, except ' and dashes in words
        } else if (inWord && b >= 0xC0 && b != 0xE1 && b != 0xE6) {
            windows += 1; // Windows letters; in DOS boxes and signs (but ß and µ)
        } else if (b >= 0xBC && b <= 0xBE) { // ¼ ½ ¾ in Windows
            windows += 1;
        }
    }
    return dos > windows;
}

// The byte order of UTF-16 text without a byte-order mark, told by its zero bytes:
// the high bytes of Latin text are zero.
QStringDecoder::Encoding utf16Without(QByteArrayView bytes)
{
    const qsizetype n = qMin(bytes.size(), qsizetype(4096)) & ~qsizetype(1);
    if (n < 4)
        return QStringDecoder::System;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == 0;
        oddZeros += bytes[i + 1] == 0;
    }
    const qsizetype pairs = n / 2;
    if (oddZeros * 2 > pairs && evenZeros * 10 < pairs)
        return QStringDecoder::Utf16LE;
    if (evenZeros * 2 > pairs && oddZeros * 10 < pairs)
        return QStringDecoder::Utf16BE;
    return QStringDecoder::System;
}

} // namespace

QString decodeImportedText(const QByteArray& bytes, OldCodePages codePages)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE") || view.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(view.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                         : QStringDecoder::Utf16BE);
        return utf16.decode(view.sliced(2));
    }
    if (const QStringDecoder::Encoding utf16 = utf16Without(view);
        utf16 != QStringDecoder::System) {
        QStringDecoder decoder(utf16);
        return decoder.decode(view);
    }
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    if (codePages == OldCodePages::WindowsOrDos && looksLikeDosText(view))
        return fromCp437(view);
    return cp1252::toUnicode(view);
}
