// SPDX-License-Identifier: GPL-2.0-or-later
// The RTF reader's font and colour tables: their entries as the control words and
// separators build them, and the font a number stands for.

#include "platform/richtext/rtfreaderimpl.h"

namespace rich::rtfread {

// Words of the font and colour tables.
void RtfReader::applyTableWord(Kw kw, int param)
{
    switch (kw) {
    case Kw::Font:
        if (state().dest == Dest::FontTable)
            beginFontEntry(param);
        break;
    case Kw::FontCharset:
        m_fontEntry.charset = (param >= 0 && param <= 255) ? quint8(param) : 0;
        m_fontEntry.charsetGiven = true;
        break;
    case Kw::FontPitch:
        m_fontEntry.pitch = (param == 1 || param == 2) ? Pitch(param) : Pitch::Default;
        break;
    case Kw::Red:
        m_red = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    case Kw::Green:
        m_green = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    case Kw::Blue:
        m_blue = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    default:
        break;
    }
}

const FontEntry* RtfReader::fontEntry(int number) const
{
    auto it = m_fonts.constFind(number);
    if (it == m_fonts.constEnd())
        it = m_fonts.constFind(m_deff);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

void RtfReader::beginFontEntry(int number)
{
    if (m_fontNumber >= 0 && !m_fontEntry.name.isEmpty())
        commitFontEntry();
    m_fontNumber = number;
    m_fontEntry = FontEntry();
}

void RtfReader::commitFontEntry()
{
    if (m_fontNumber < 0) {
        m_fontEntry = FontEntry(); // a name without a font number
        return;
    }
    if (m_fonts.size() < kMaxFonts || m_fonts.contains(m_fontNumber)) {
        FontEntry entry = m_fontEntry;
        entry.name = entry.name.trimmed();
        m_fonts.insert(m_fontNumber, entry);
    }
    m_fontNumber = -1;
    m_fontEntry = FontEntry();
    m_formatDirty = true;
}

void RtfReader::commitColor()
{
    if (m_colors.size() < kMaxColors) {
        ColorEntry entry;
        entry.automatic = !m_colorGiven;
        entry.rgb = qRgb(m_red, m_green, m_blue);
        m_colors.append(entry);
    }
    m_red = m_green = m_blue = 0;
    m_colorGiven = false;
    m_formatDirty = true;
}

} // namespace rich::rtfread
