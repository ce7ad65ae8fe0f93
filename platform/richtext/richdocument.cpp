// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/richdocument.h"

#include <QtMath>

namespace rich {

size_t qHash(const CharFormat& f, size_t seed)
{
    return qHashMulti(seed, f.fontName, f.halfPoints, f.heightPx, f.style, f.color, quint8(f.pitch),
                      f.charset);
}

int heightForHalfPoints(int halfPoints)
{
    // Points to pixels at 96 dpi: 96 / 72 pixels per point.
    return qRound(halfPoints * 96.0 / 144.0);
}

void CharFormat::setPointSize(double points)
{
    halfPoints = qMax(1, qRound(points * 2));
    heightPx = heightForHalfPoints(halfPoints);
}

RichDocument::RichDocument()
{
    m_formats.append(CharFormat());
    m_formatIds.insert(m_formats.first(), 0);
}

quint16 RichDocument::intern(const CharFormat& format)
{
    const auto found = m_formatIds.constFind(format);
    if (found != m_formatIds.constEnd())
        return found.value();
    // The table is small in practice; an absurd number of distinct formats (damaged
    // input) falls back to the last entry rather than overflowing the index.
    if (m_formats.size() >= 0xFFFF)
        return quint16(m_formats.size() - 1);
    const quint16 id = quint16(m_formats.size());
    m_formats.append(format);
    m_formatIds.insert(format, id);
    return id;
}

void RichDocument::setDefaultFormat(const CharFormat& format)
{
    m_defaultId = intern(format);
}

void RichDocument::clear()
{
    m_lines.clear();
    m_selStart = 0;
    m_selLength = 0;
}

void RichDocument::appendLine(const QString& text, quint16 formatId)
{
    RichLine line;
    line.text = text;
    line.formats.fill(formatId, text.size());
    line.endFormat = formatId;
    m_lines.append(std::move(line));
}

QString RichDocument::plainText() const
{
    return plainLines().join(QLatin1Char('\n'));
}

QStringList RichDocument::plainLines() const
{
    QStringList out;
    out.reserve(m_lines.size());
    for (const RichLine& line : m_lines)
        out.append(line.text);
    return out;
}

int RichDocument::textLength() const
{
    if (m_lines.isEmpty())
        return 0;
    qsizetype length = m_lines.size() - 1;
    for (const RichLine& line : m_lines)
        length += line.text.size();
    return int(length);
}

int RichDocument::lineStart(int line) const
{
    int start = 0;
    for (int i = 0; i < line && i < m_lines.size(); ++i)
        start += int(m_lines[i].text.size()) + 1;
    return start;
}

int RichDocument::lineOfPosition(int position) const
{
    int start = 0;
    for (int i = 0; i < m_lines.size(); ++i) {
        const int end = start + int(m_lines[i].text.size());
        if (position <= end)
            return i;
        start = end + 1;
    }
    return int(m_lines.size()) - 1;
}

quint16 RichDocument::formatIdAt(int position) const
{
    if (m_lines.isEmpty())
        return m_defaultId;
    int start = 0;
    for (const RichLine& line : m_lines) {
        const int length = int(line.text.size());
        if (position < start + length)
            return line.formats.at(qMax(0, position - start));
        if (position == start + length)
            return line.endFormat;
        start += length + 1;
    }
    return m_lines.last().endFormat;
}

void RichDocument::splitLine(int lineIndex, int column)
{
    if (lineIndex < 0 || lineIndex >= m_lines.size())
        return;
    RichLine& line = m_lines[lineIndex];
    column = qBound(0, column, int(line.text.size()));
    RichLine rest;
    rest.text = line.text.mid(column);
    rest.formats = line.formats.mid(column);
    rest.endFormat = line.endFormat;
    if (column < line.text.size())
        line.endFormat = line.formats.at(column);
    line.text.truncate(column);
    line.formats.resize(column);
    m_lines.insert(lineIndex + 1, std::move(rest));
}

void RichDocument::splitLineAtColumns(int lineIndex, const QList<int>& columns)
{
    if (lineIndex < 0 || lineIndex >= m_lines.size() || columns.isEmpty())
        return;
    const RichLine whole = std::move(m_lines[lineIndex]);
    const int length = int(whole.text.size());
    QList<RichLine> parts;
    parts.reserve(columns.size() + 1);
    int from = 0;
    for (qsizetype i = 0; i <= columns.size(); ++i) {
        const int to = i < columns.size() ? qBound(from, columns.at(i), length) : length;
        RichLine part;
        part.text = whole.text.mid(from, to - from);
        part.formats = whole.formats.mid(from, to - from);
        part.endFormat = i < columns.size() && to < length ? whole.formats.at(to) : whole.endFormat;
        parts.append(std::move(part));
        from = to;
    }
    // One shift of the following lines, not one per part.
    m_lines.insert(lineIndex + 1, parts.size() - 1, RichLine());
    for (qsizetype i = 0; i < parts.size(); ++i)
        m_lines[lineIndex + i] = std::move(parts[i]);
}

void RichDocument::setSelection(int start, int length)
{
    const int total = textLength();
    m_selStart = qBound(0, start, total);
    m_selLength = qBound(0, length, total - m_selStart);
}

CharFormat RichDocument::selectionFormat() const
{
    if (m_selLength == 0 && m_selStart > 0)
        return formatAt(m_selStart - 1);
    return formatAt(m_selStart);
}

void RichDocument::forEachSelectedId(const std::function<quint16(quint16)>& map)
{
    if (m_selLength == 0) {
        m_defaultId = map(m_defaultId);
        return;
    }
    const int selEnd = m_selStart + m_selLength;
    int start = 0;
    for (RichLine& line : m_lines) {
        const int length = int(line.text.size());
        for (int k = 0; k < length; ++k) {
            const int pos = start + k;
            if (pos >= m_selStart && pos < selEnd)
                line.formats[k] = map(line.formats[k]);
        }
        if (start + length >= m_selStart && start + length < selEnd)
            line.endFormat = map(line.endFormat);
        start += length + 1;
        if (start > selEnd)
            break;
    }
}

} // namespace rich
