// SPDX-License-Identifier: GPL-2.0-or-later
// The RTF reader's output: characters through the code pages into lines, the formats
// they carry, and the document's end.

#include "platform/richtext/rtfreaderimpl.h"

#include "platform/richtext/rtfcodepage.h"

namespace rich::rtfread {

void RtfReader::addByte(uchar byte)
{
    if (byte < 0x80) {
        flushBytes();
        addChar(byte);
        return;
    }
    int codepage = 1252;
    if (state().dest == Dest::FontTable) {
        codepage = m_fontEntry.charsetGiven ? codepageForCharset(m_fontEntry.charset) : 0;
        if (codepage == 0)
            codepage = m_ansiCodepage;
    } else {
        codepage = textCodepage();
    }
    if (codepage == 1252) {
        flushBytes();
        addChar(decodeCp1252(byte));
        return;
    }
    if (codepage == kCodepageSymbol) {
        flushBytes();
        addChar(byte);
        return;
    }
    if (!m_pendingBytes.isEmpty() && m_pendingCodepage != codepage)
        flushBytes();
    m_pendingCodepage = codepage;
    m_pendingBytes.append(char(byte));
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString text = decoder(m_pendingCodepage).decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (QChar ch : text)
        addChar(ch.unicode());
}

QStringDecoder& RtfReader::decoder(int codepage)
{
    auto it = m_decoders.find(codepage);
    if (it == m_decoders.end()) {
        QStringDecoder d(decoderName(codepage).constData(), QStringDecoder::Flag::Stateless);
        if (!d.isValid())
            d = QStringDecoder(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
        it = m_decoders.emplace(codepage, std::move(d)).first;
    }
    return it->second;
}

void RtfReader::addChar(char16_t ch)
{
    if (rtf::isDroppedChar(ch))
        return;
    switch (state().dest) {
    case Dest::Text:
        if (!state().hidden)
            addTextToLine(QStringView(&ch, 1));
        break;
    case Dest::FontTable:
        if (ch != u'\t' && m_fontEntry.name.size() < rtf::kMaxFontNameLength)
            m_fontEntry.name.append(QChar(ch));
        break;
    case Dest::ColorTable:
        break;
    }
}

void RtfReader::addTextToLine(QStringView text)
{
    if (m_done || state().dest != Dest::Text || state().hidden)
        return;
    if (m_chars + text.size() > kMaxChars) {
        fail(QStringLiteral("The RTF document is too large; its end was not read."));
        m_done = true;
        return;
    }
    ensureFormat();
    m_line.text.append(text);
    if (!m_plain)
        m_line.formats.insert(m_line.formats.size(), text.size(), m_formatId);
    m_chars += text.size();
}

void RtfReader::endLine()
{
    if (m_done)
        return;
    if ((m_plain ? m_plainLines : m_doc.lines().size()) >= kMaxLines) {
        fail(QStringLiteral("The RTF document has too many lines; its end was not read."));
        m_done = true;
        return;
    }
    ensureFormat();
    if (m_plain) {
        if (m_plainLines++ > 0)
            m_plain->append(QLatin1Char('\n'));
        m_plain->append(m_line.text);
        m_line.text.resize(0); // keeps its room for the next line
        return;
    }
    m_line.endFormat = m_formatId;
    m_doc.lines().append(std::move(m_line));
    m_line = RichLine();
}

void RtfReader::finish()
{
    flushBytes();
    const bool stopped = m_done;
    m_done = false;
    if (!m_line.text.isEmpty())
        endLine();
    m_done = stopped;
    ensureFormat();
    QList<RichLine>& lines = m_doc.lines();
    quint16 defaultId = m_formatId;
    // One empty paragraph is how a rich edit control writes an empty text.
    if (lines.size() == 1 && lines.first().text.isEmpty()) {
        defaultId = lines.first().endFormat;
        lines.clear();
    } else if (!lines.isEmpty()) {
        defaultId = m_doc.formatIdAt(0);
    }
    m_doc.setDefaultFormat(m_doc.format(defaultId));
}

void RtfReader::ensureFormat()
{
    if (!m_formatDirty)
        return;
    m_formatDirty = false;
    const GroupState& s = state();
    CharFormat f;
    const FontEntry* font = fontEntry(s.font < 0 ? m_deff : s.font);
    f.fontName = font ? font->name : rtf::defaultFontName();
    f.pitch = font ? font->pitch : Pitch::Default;
    f.charset = font ? font->charset : 0;
    f.halfPoints = s.halfPoints;
    f.heightPx = heightForHalfPoints(s.halfPoints);
    f.style = s.style;
    if (s.color > 0 && s.color < m_colors.size() && !m_colors.at(s.color).automatic)
        f.color = m_colors.at(s.color).rgb;
    m_formatId = internFormat(f);

    int codepage = 0;
    if (font && font->charsetGiven)
        codepage = codepageForCharset(font->charset);
    m_codepage = codepage == 0 ? m_ansiCodepage : codepage;
}

int RtfReader::textCodepage()
{
    ensureFormat();
    return m_codepage;
}

quint16 RtfReader::internFormat(const CharFormat& format)
{
    const auto it = m_formatIds.find(format);
    if (it != m_formatIds.end())
        return it->second;
    // Past the cap new formats fall back to the one in use, so text is still read.
    if (m_formatIds.size() >= size_t(kMaxFormats))
        return m_formatId;
    const quint16 id = m_doc.intern(format);
    m_formatIds.emplace(format, id);
    return id;
}

} // namespace rich::rtfread
