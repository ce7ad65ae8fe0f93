#include "recipes/linelist.h"

#include <cstring>

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
    m_ends.append(m_text.size());
}

void LineList::assign(const QByteArrayView* lines, qsizetype count)
{
    qsizetype total = 0;
    for (qsizetype i = 0; i < count; ++i)
        total += lines[i].size();
    m_text = QByteArray(total, Qt::Uninitialized);
    m_ends.resize(count);
    char* out = m_text.data();
    qsizetype end = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (!lines[i].isEmpty()) // an empty view may have no data at all
            memcpy(out + end, lines[i].data(), size_t(lines[i].size()));
        end += lines[i].size();
        m_ends[i] = end;
    }
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
