// SPDX-License-Identifier: GPL-2.0-or-later
// The RTF reader's groups: opening and closing them with their attributes, and skipping
// groups and destinations that hold no text of the document.

#include "platform/richtext/rtfreaderimpl.h"

namespace rich::rtfread {

void RtfReader::openGroup()
{
    flushBytes();
    m_skip = 0;
    if (m_stack.size() >= kMaxDepth) {
        fail(QStringLiteral("The RTF data nests groups too deeply; the deepest ones were "
                            "skipped."));
        skipGroup();
        return;
    }
    const GroupState inherited = m_stack.back();
    m_stack.append(inherited);
}

void RtfReader::closeGroup()
{
    flushBytes();
    m_skip = 0;
    // The outermost group closes the document; whatever follows is not read. Its
    // attributes stay in force for the end mark of a last line without \par.
    if (m_stack.size() <= 2) {
        m_done = true;
        return;
    }
    if (state().dest == Dest::FontTable && m_fontNumber >= 0 && !m_fontEntry.name.isEmpty())
        commitFontEntry();
    m_stack.removeLast();
    m_formatDirty = true;
}

// Skips to the end of the group whose opening brace was just read, with everything
// nested in it: the group is not pushed, so this needs no memory however deep it goes.
void RtfReader::skipGroup()
{
    int depth = 1;
    while (!atEnd()) {
        const uchar c = byteAt(m_pos++);
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return;
        } else if (c == '\\' && !atEnd()) {
            if (!isAsciiLetter(byteAt(m_pos))) {
                ++m_pos; // a control symbol: "\{" and "\}" are no braces
                continue;
            }
            const qsizetype start = m_pos;
            while (!atEnd() && isAsciiLetter(byteAt(m_pos)))
                ++m_pos;
            const bool bin = m_data.sliced(start, m_pos - start) == "bin";
            qint64 length = 0;
            while (!atEnd() && isAsciiDigit(byteAt(m_pos))) {
                length = qMin(kMaxParam, length * 10 + (byteAt(m_pos) - '0'));
                ++m_pos;
            }
            if (!atEnd() && byteAt(m_pos) == ' ')
                ++m_pos;
            if (bin)
                skipBinary(int(length));
        }
    }
}

void RtfReader::skipBinary(int length)
{
    m_pos += qMin<qsizetype>(qMax(0, length), m_data.size() - m_pos);
}

// Skips the rest of the current group, a destination that holds no text of the
// document. At the top level that would swallow the whole document: ignored there.
void RtfReader::skipDestination()
{
    if (m_stack.size() <= 2)
        return;
    skipGroup();
    m_stack.removeLast();
    m_formatDirty = true;
}

} // namespace rich::rtfread
