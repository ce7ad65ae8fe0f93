// SPDX-License-Identifier: GPL-2.0-or-later
// The RTF reader's tokens: control words with their parameters, control symbols and
// runs of plain text, and what each control word does to the state.

#include "platform/richtext/rtfreaderimpl.h"

#include <string_view>

namespace rich::rtfread {
namespace {

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void RtfReader::controlWord()
{
    ++m_pos; // the backslash
    if (atEnd())
        return;
    const uchar first = byteAt(m_pos);
    if (!isAsciiLetter(first)) {
        ++m_pos;
        controlSymbol(first);
        return;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && isAsciiLetter(byteAt(m_pos)))
        ++m_pos;
    const qsizetype nameLength = m_pos - start;
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (!atEnd() && byteAt(m_pos) == '-' && m_pos + 1 < m_data.size() &&
        isAsciiDigit(byteAt(m_pos + 1))) {
        negative = true;
        ++m_pos;
    }
    while (!atEnd() && isAsciiDigit(byteAt(m_pos))) {
        hasParam = true;
        value = qMin(kMaxParam, value * 10 + (byteAt(m_pos) - '0'));
        ++m_pos;
    }
    if (!atEnd() && byteAt(m_pos) == ' ')
        ++m_pos;

    const Keyword* keyword = nullptr;
    if (nameLength <= kMaxWordLength)
        keyword = findKeyword(std::string_view(m_data.data() + start, size_t(nameLength)));
    flushBytes();
    if (m_skip > 0) {
        // A control word stands for one fallback character of the last \u.
        --m_skip;
        if (keyword && keyword->kw == Kw::Bin)
            skipBinary(negative ? 0 : int(value));
        return;
    }
    dispatch(keyword, hasParam, negative ? int(-value) : int(value));
}

void RtfReader::controlSymbol(uchar c)
{
    if (c == '\'') {
        // \'hh: one byte in the current code page.
        int value = -1;
        if (m_pos + 1 >= m_data.size()) {
            m_pos = m_data.size(); // cut off in the middle of the escape
        } else {
            const int hi = hexValue(byteAt(m_pos));
            const int lo = hexValue(byteAt(m_pos + 1));
            if (hi >= 0 && lo >= 0) {
                value = hi * 16 + lo;
                m_pos += 2;
            }
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (value >= 0)
            addByte(uchar(value));
        return;
    }
    flushBytes();
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        addChar(c);
        break;
    case '~':
        addChar(0x00A0);
        break;
    case '_':
        addChar(0x2011);
        break;
    case '\r':
    case '\n':
        // A backslash before a line break is a paragraph mark.
        if (state().dest == Dest::Text)
            endLine();
        break;
    case '*':
        // An ignorable destination: none of them holds text of the document.
        skipDestination();
        break;
    default:
        break; // \- (optional hyphen), \| and \: and unknown symbols
    }
}

void RtfReader::dispatch(const Keyword* keyword, bool hasParam, int param)
{
    if (keyword == nullptr)
        return;
    GroupState& s = state();
    switch (keyword->kw) {
    case Kw::SkipDest:
        skipDestination();
        break;
    case Kw::FontTable:
        s.dest = Dest::FontTable;
        m_fontNumber = -1;
        break;
    case Kw::ColorTable:
        s.dest = Dest::ColorTable;
        m_colorGiven = false;
        m_red = m_green = m_blue = 0;
        break;
    case Kw::Ansi:
    case Kw::Mac:
    case Kw::Pc:
    case Kw::Pca:
    case Kw::AnsiCpg:
        setAnsiCodepage(keyword->kw, hasParam, param);
        break;
    case Kw::Deff:
        m_deff = param;
        m_formatDirty = true;
        break;
    case Kw::Uc:
        s.uc = qBound(0, param, kMaxSkipCount);
        break;
    case Kw::U:
        // Negative values stand for code units above 32767.
        if (const int code = param < 0 ? param + 65536 : param; code >= 0 && code <= 0xFFFF)
            addChar(char16_t(code));
        m_skip = s.uc;
        break;
    case Kw::Bin:
        skipBinary(param);
        break;
    case Kw::Par:
        if (s.dest == Dest::Text)
            endLine();
        break;
    case Kw::Char:
        if (s.dest == Dest::Text)
            addChar(keyword->ch);
        break;
    default:
        if (s.dest == Dest::Text)
            applyCharFormat(keyword->kw, hasParam, param);
        else
            applyTableWord(keyword->kw, param);
        break;
    }
}

void RtfReader::setAnsiCodepage(Kw kw, bool hasParam, int param)
{
    switch (kw) {
    case Kw::Mac:
        m_ansiCodepage = 10000;
        break;
    case Kw::Pc:
        m_ansiCodepage = 437;
        break;
    case Kw::Pca:
        m_ansiCodepage = 850;
        break;
    case Kw::AnsiCpg:
        if (hasParam && param > 0 && param <= 65535)
            m_ansiCodepage = param;
        break;
    default:
        m_ansiCodepage = 1252;
        break;
    }
    m_formatDirty = true;
}

void RtfReader::applyCharFormat(Kw kw, bool hasParam, int param)
{
    GroupState& s = state();
    const bool on = !hasParam || param != 0;
    auto setStyle = [&s, on](FontStyle bit) { s.style = on ? (s.style | bit) : (s.style & ~bit); };
    switch (kw) {
    case Kw::Plain:
        s = GroupState{-1, rtf::kDefaultHalfPoints, 0, 0, s.uc, false, s.dest};
        break;
    case Kw::Font:
        if (hasParam)
            s.font = param;
        break;
    case Kw::FontSize:
        if (hasParam && param > 0)
            s.halfPoints = qBound(rtf::kMinHalfPoints, param, rtf::kMaxHalfPoints);
        break;
    case Kw::Bold:
        setStyle(Bold);
        break;
    case Kw::Italic:
        setStyle(Italic);
        break;
    case Kw::Underline:
        setStyle(Underline);
        break;
    case Kw::UnderlineNone:
        s.style &= ~Underline;
        break;
    case Kw::Strike:
        setStyle(StrikeOut);
        break;
    case Kw::Color:
        s.color = param;
        break;
    case Kw::Hidden:
        s.hidden = on;
        break;
    default:
        return;
    }
    m_formatDirty = true;
}

// Plain text up to the next brace, backslash or line break.
void RtfReader::textRun()
{
    const qsizetype start = m_pos;
    while (!atEnd()) {
        const uchar c = byteAt(m_pos);
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    const Dest dest = state().dest;
    qsizetype i = start;
    // Fallback characters of a \u come first.
    while (m_skip > 0 && i < m_pos) {
        --m_skip;
        ++i;
    }
    if (dest == Dest::ColorTable) {
        for (; i < m_pos; ++i) {
            if (byteAt(i) == ';')
                commitColor();
        }
        return;
    }
    if (dest == Dest::FontTable) {
        for (; i < m_pos; ++i) {
            const uchar c = byteAt(i);
            if (c == ';') {
                flushBytes();
                commitFontEntry();
            } else {
                addByte(c);
            }
        }
        return;
    }
    // Body text: ASCII goes in stretches, other bytes through the code page.
    while (i < m_pos) {
        qsizetype j = i;
        while (j < m_pos && byteAt(j) >= 0x20 && byteAt(j) < 0x80)
            ++j;
        if (j > i) {
            flushBytes();
            addTextToLine(QString::fromLatin1(m_data.sliced(i, j - i)));
            i = j;
        }
        if (i < m_pos) {
            addByte(byteAt(i));
            ++i;
        }
    }
}

} // namespace rich::rtfread
