// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QRawFont>

#include <array>

class QPaintDevice;

// One character format's font as a given device measures it, with the advance width
// and glyph of every character looked up once.

namespace rich {

/// Font em height in pixels of a format on a device of vertical resolution dpiY: the
/// point size times dpiY / 72, rounded, at least 1. The point size decides (sizes are
/// held to 1..1638 points, the range a rich edit control accepts); the format's
/// 96-dpi pixel height is used only when it has no size at all.
int pixelSizeFor(const CharFormat& format, int dpiY);

/// The font a format gives on a device of vertical resolution dpiY: face name, pixel
/// size, bold, italic, underline, strike-out and a fixed-pitch hint (which steers the
/// substitution when the face is missing). The colour is the pen's business when
/// drawing; the character set has no part in Qt's font matching of Unicode text.
QFont fontForDevice(const CharFormat& format, int dpiY);

/// The font of one format on one device.
class DeviceFont {
public:
    DeviceFont(const CharFormat& format, const QPaintDevice* device);

    DeviceFont(const DeviceFont&) = delete;
    DeviceFont& operator=(const DeviceFont&) = delete;

    const QFont& font() const { return m_font; }
    const QFontMetrics& metrics() const { return m_metrics; }
    /// Height of a line of text in this font (ascent + descent), the same for every
    /// character, a blank included.
    int height() const { return m_height; }
    int ascent() const { return m_ascent; }
    int underlinePos() const { return m_underlinePos; }
    int strikeOutPos() const { return m_strikeOutPos; }
    int lineWidth() const { return m_lineWidth; }

    /// Advance width of the character that starts at text[index]. A surrogate pair is
    /// measured as one character at its first half; its second half has no width.
    int advanceAt(const QString& text, qsizetype index)
    {
        const char16_t c = text.at(index).unicode();
        if (c < 256) {
            int& w = m_latinAdvances[c];
            if (w < 0)
                w = measure(c);
            return w;
        }
        return otherAdvanceAt(text, index);
    }
    /// Advance width of one code point.
    int advance(char32_t codePoint);

    /// Glyph index of a code point in this font's own face; 0 when the face lacks it
    /// (the character is then drawn through Qt's font substitution).
    quint32 glyph(char32_t codePoint)
    {
        if (codePoint < 256) {
            quint32& g = m_latinGlyphs[codePoint];
            if (g == kUnknownGlyph)
                g = lookUpGlyph(codePoint);
            return g;
        }
        return otherGlyph(codePoint);
    }
    /// The face the glyphs belong to (loaded on first use).
    const QRawFont& rawFont();

    /// Characters that take their place in a line but show nothing: control
    /// characters, a tab (as wide as a blank), line and paragraph separators and the
    /// soft hyphen.
    static bool isInvisible(char32_t codePoint)
    {
        return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0) || codePoint == 0xAD ||
               codePoint == 0x2028 || codePoint == 0x2029;
    }

private:
    static constexpr quint32 kUnknownGlyph = 0xFFFFFFFFu;

    int measure(char32_t codePoint) const;
    int otherAdvanceAt(const QString& text, qsizetype index);
    quint32 lookUpGlyph(char32_t codePoint);
    quint32 otherGlyph(char32_t codePoint);

    QFont m_font;
    QFontMetrics m_metrics;
    int m_height;
    int m_ascent;
    int m_underlinePos;
    int m_strikeOutPos;
    int m_lineWidth;
    std::array<int, 256> m_latinAdvances;
    QHash<char32_t, int> m_otherAdvances;
    std::array<quint32, 256> m_latinGlyphs;
    QHash<char32_t, quint32> m_otherGlyphs;
    QRawFont m_raw;
    bool m_rawLoaded = false;
};

} // namespace rich
