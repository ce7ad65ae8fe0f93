// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <cstring>
#include <initializer_list>

/// An ordered list of text lines (no line breaks inside a line), stored compactly in
/// one byte buffer: the line count, the room for line ends, the 32-bit end offset of
/// each line (so a list holds less than 4 GiB of text; files are far smaller), then all
/// lines' text. A recipe holds nine such lists; one allocation per list instead of one
/// per line makes reading a large collection fast and small, and scanning the lines
/// cache-friendly.
class LineList {
public:
    LineList() = default;
    LineList(std::initializer_list<QByteArrayView> lines);

    qsizetype size() const { return m_data.isEmpty() ? 0 : header(0); }
    bool isEmpty() const { return size() == 0; }
    /// The line at index; the view is valid until the list changes.
    QByteArrayView at(qsizetype index) const;
    QByteArrayView operator[](qsizetype index) const { return at(index); }
    QByteArrayView first() const { return at(0); }
    QByteArrayView last() const { return at(size() - 1); }

    void append(QByteArrayView line);
    LineList& operator<<(QByteArrayView line)
    {
        append(line);
        return *this;
    }
    void clear();
    /// Reserves room for lines lines of about bytesPerLine bytes each.
    void reserve(qsizetype lines, qsizetype bytesPerLine = 32);
    /// Replaces the content with lines lines of textBytes bytes in all, each taken from
    /// next() (a QByteArrayView; their sizes must add up to textBytes), with one exact
    /// allocation for the text and one for the offsets.
    template <typename Next> void assign(qsizetype lines, qsizetype textBytes, Next next);

    QByteArrayList toList() const;
    static LineList fromList(const QByteArrayList& lines);

    bool operator==(const LineList& other) const;

    class const_iterator {
    public:
        const_iterator(const LineList* list, qsizetype index) : m_list(list), m_index(index) {}
        QByteArrayView operator*() const { return m_list->at(m_index); }
        const_iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        bool operator==(const const_iterator& other) const = default;

    private:
        const LineList* m_list;
        qsizetype m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    // The buffer: count, room (both quint32), room line ends (quint32), the text.
    static constexpr qsizetype kHeader = 2 * sizeof(quint32);
    quint32 header(int field) const
    {
        quint32 value;
        memcpy(&value, m_data.constData() + field * sizeof(quint32), sizeof value);
        return value;
    }
    quint32 endAt(qsizetype index) const
    {
        quint32 value;
        memcpy(&value, m_data.constData() + kHeader + index * sizeof(quint32), sizeof value);
        return value;
    }
    const char* text() const { return m_data.constData() + kHeader + header(1) * sizeof(quint32); }
    void setHeader(char* data, quint32 count, quint32 room);
    void setEnd(char* data, qsizetype index, quint32 end);
    /// Makes room for room line ends, keeping the lines.
    void regrow(qsizetype room);

    QByteArray m_data; // empty for an empty list
};

template <typename Next> void LineList::assign(qsizetype lines, qsizetype textBytes, Next next)
{
    if (lines == 0) {
        m_data = QByteArray();
        return;
    }
    const qsizetype base = kHeader + lines * qsizetype(sizeof(quint32));
    m_data = QByteArray(base + textBytes, Qt::Uninitialized);
    char* data = m_data.data();
    setHeader(data, quint32(lines), quint32(lines));
    qsizetype end = 0;
    for (qsizetype i = 0; i < lines; ++i) {
        const QByteArrayView line = next();
        if (!line.isEmpty()) // an empty view may have no data at all
            memcpy(data + base + end, line.data(), size_t(line.size()));
        end += line.size();
        setEnd(data, i, quint32(end));
    }
}
