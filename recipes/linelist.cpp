#include "recipes/linelist.h"

LineList::LineList(std::initializer_list<QByteArrayView> lines)
{
    for (QByteArrayView line : lines)
        append(line);
}

QByteArrayView LineList::at(qsizetype index) const
{
    const qsizetype start = index == 0 ? 0 : m_ends.at(index - 1);
    return QByteArrayView(m_text.constData() + start, m_ends.at(index) - start);
}

void LineList::append(QByteArrayView line)
{
    m_text.append(line);
    m_ends.append(quint32(m_text.size()));
}

void LineList::clear()
{
    m_text.clear();
    m_ends.clear();
}

void LineList::reserve(qsizetype lines, qsizetype bytesPerLine)
{
    m_ends.reserve(lines);
    m_text.reserve(lines * bytesPerLine);
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
    for (const QByteArray& line : lines)
        out.append(line);
    return out;
}
