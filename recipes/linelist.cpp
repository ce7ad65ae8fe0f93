// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/linelist.h"

LineList::LineList(std::initializer_list<QByteArrayView> lines)
{
    reserve(qsizetype(lines.size()), 0);
    for (QByteArrayView line : lines)
        append(line);
}

void LineList::setHeader(char* data, quint32 count, quint32 room)
{
    memcpy(data, &count, sizeof count);
    memcpy(data + sizeof count, &room, sizeof room);
}

void LineList::setEnd(char* data, qsizetype index, quint32 end)
{
    memcpy(data + kHeader + index * sizeof(quint32), &end, sizeof end);
}

QByteArrayView LineList::at(qsizetype index) const
{
    const quint32 start = index == 0 ? 0 : endAt(index - 1);
    return QByteArrayView(text() + start, endAt(index) - start);
}

void LineList::regrow(qsizetype room)
{
    const qsizetype count = size();
    const qsizetype textBytes = count == 0 ? 0 : endAt(count - 1);
    QByteArray grown(kHeader + room * qsizetype(sizeof(quint32)) + textBytes, Qt::Uninitialized);
    char* data = grown.data();
    setHeader(data, quint32(count), quint32(room));
    if (count > 0) {
        memcpy(data + kHeader, m_data.constData() + kHeader, size_t(count) * sizeof(quint32));
        memcpy(data + kHeader + room * sizeof(quint32), text(), size_t(textBytes));
    }
    m_data = std::move(grown);
}

void LineList::append(QByteArrayView line)
{
    const qsizetype count = size();
    QByteArray before; // line may lie in the buffer that growing replaces: kept till the end
    if (m_data.isEmpty() || qsizetype(header(1)) == count) {
        before = m_data;
        regrow(qMax<qsizetype>(4, 2 * count));
    }
    const quint32 end = quint32((count == 0 ? 0 : endAt(count - 1)) + line.size());
    m_data.append(line);
    char* data = m_data.data();
    setEnd(data, count, end);
    setHeader(data, quint32(count + 1), header(1));
}

void LineList::clear()
{
    m_data = QByteArray();
}

void LineList::reserve(qsizetype lines, qsizetype bytesPerLine)
{
    if (lines <= 0)
        return;
    if (m_data.isEmpty() || qsizetype(header(1)) < lines)
        regrow(lines);
    m_data.reserve(m_data.size() + lines * bytesPerLine);
}

bool LineList::operator==(const LineList& other) const
{
    const qsizetype count = size();
    if (count != other.size())
        return false;
    if (count == 0)
        return true;
    const quint32 textBytes = endAt(count - 1);
    return memcmp(m_data.constData() + kHeader, other.m_data.constData() + kHeader,
                  size_t(count) * sizeof(quint32)) == 0 &&
           textBytes == other.endAt(count - 1) && memcmp(text(), other.text(), textBytes) == 0;
}

QByteArrayList LineList::toList() const
{
    QByteArrayList out;
    out.reserve(size());
    for (QByteArrayView line : *this)
        out.append(line.toByteArray());
    return out;
}

LineList LineList::fromList(const QByteArrayList& lines)
{
    LineList out;
    out.reserve(lines.size(), 0);
    for (const QByteArray& line : lines)
        out.append(line);
    return out;
}
