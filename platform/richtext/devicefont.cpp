// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/devicefont.h"

#include "platform/richtext/fonttransfer.h"

#include <QPaintDevice>

namespace rich {

namespace {

// The size range of a rich edit control, in half points.
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

} // namespace

int pixelSizeFor(const CharFormat& format, int dpiY)
{
    double pixels;
    if (format.halfPoints > 0)
        pixels = qBound(kMinHalfPoints, format.halfPoints, kMaxHalfPoints) * dpiY / 144.0;
    else
        pixels = qBound(1, format.heightPx, kMaxHalfPoints) * dpiY / 96.0;
    return qMax(1, qRound(pixels));
}

QFont fontForDevice(const CharFormat& format, int dpiY)
{
    QFont font = toQFont(format);
    font.setPixelSize(pixelSizeFor(format, dpiY));
    return font;
}

DeviceFont::DeviceFont(const CharFormat& format, const QPaintDevice* device)
    : m_font(fontForDevice(format, device->logicalDpiY())), m_metrics(m_font, device),
      m_height(m_metrics.height()), m_ascent(m_metrics.ascent()),
      m_underlinePos(m_metrics.underlinePos()), m_strikeOutPos(m_metrics.strikeOutPos()),
      m_lineWidth(qMax(1, m_metrics.lineWidth()))
{
    m_latinAdvances.fill(-1);
    m_latinGlyphs.fill(kUnknownGlyph);
}

int DeviceFont::measure(char32_t codePoint) const
{
    // Qt reports the width of the missing-glyph box for control characters; they show
    // nothing here. A tab takes the room of a blank.
    if (codePoint == U'\t')
        return m_metrics.horizontalAdvance(QLatin1Char(' '));
    if (isInvisible(codePoint))
        return 0;
    if (QChar::requiresSurrogates(codePoint))
        return m_metrics.horizontalAdvance(QString::fromUcs4(&codePoint, 1));
    return m_metrics.horizontalAdvance(QChar(char16_t(codePoint)));
}

int DeviceFont::advance(char32_t codePoint)
{
    if (codePoint < 256) {
        int& w = m_latinAdvances[codePoint];
        if (w < 0)
            w = measure(codePoint);
        return w;
    }
    const auto found = m_otherAdvances.constFind(codePoint);
    if (found != m_otherAdvances.constEnd())
        return *found;
    const int w = measure(codePoint);
    m_otherAdvances.insert(codePoint, w);
    return w;
}

int DeviceFont::otherAdvanceAt(const QString& text, qsizetype index)
{
    const QChar c = text.at(index);
    if (c.isLowSurrogate() && index > 0 && text.at(index - 1).isHighSurrogate())
        return 0;
    if (c.isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate())
        return advance(QChar::surrogateToUcs4(c, text.at(index + 1)));
    return advance(c.unicode());
}

const QRawFont& DeviceFont::rawFont()
{
    if (!m_rawLoaded) {
        m_raw = QRawFont::fromFont(m_font);
        m_rawLoaded = true;
    }
    return m_raw;
}

quint32 DeviceFont::lookUpGlyph(char32_t codePoint)
{
    const QRawFont& raw = rawFont();
    if (!raw.isValid())
        return 0;
    QChar chars[2];
    int length = 0;
    if (QChar::requiresSurrogates(codePoint)) {
        chars[0] = QChar(QChar::highSurrogate(codePoint));
        chars[1] = QChar(QChar::lowSurrogate(codePoint));
        length = 2;
    } else {
        chars[0] = QChar(char16_t(codePoint));
        length = 1;
    }
    quint32 glyphs[2] = {0, 0};
    int glyphCount = 2;
    if (!raw.glyphIndexesForChars(chars, length, glyphs, &glyphCount) || glyphCount < 1)
        return 0;
    return glyphs[0];
}

quint32 DeviceFont::otherGlyph(char32_t codePoint)
{
    const auto found = m_otherGlyphs.constFind(codePoint);
    if (found != m_otherGlyphs.constEnd())
        return *found;
    const quint32 g = lookUpGlyph(codePoint);
    m_otherGlyphs.insert(codePoint, g);
    return g;
}

} // namespace rich
