#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>

#include <cstring>
#include <initializer_list>

/// An ordered list of text lines (no line breaks inside a line), stored compactly:
/// all lines in one byte buffer plus the 32-bit end offset of each line (so a list holds
/// less than 4 GiB of text; files are far smaller). A recipe holds nine such lists;
/// keeping each in two allocations instead of one per line makes reading a large
/// collection fast and small, and scanning the lines cache-friendly.
class LineList {
public:
    LineList() = default;
    LineList(std::initializer_list<QByteArrayView> lines);

    qsizetype size() const { return m_ends.size(); }
    bool isEmpty() const { return m_ends.isEmpty(); }
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

    bool operator==(const LineList& other) const
    {
        return m_ends == other.m_ends && m_text == other.m_text;
    }

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
    QByteArray m_text;
    QList<quint32> m_ends;
};

template <typename Next> void LineList::assign(qsizetype lines, qsizetype textBytes, Next next)
{
    m_text = QByteArray(textBytes, Qt::Uninitialized);
    m_ends = QList<quint32>(lines);
    char* out = m_text.data();
    qsizetype end = 0;
    for (quint32& lineEnd : m_ends) {
        const QByteArrayView line = next();
        if (!line.isEmpty()) // an empty view may have no data at all
            memcpy(out + end, line.data(), size_t(line.size()));
        end += line.size();
        lineEnd = quint32(end);
    }
}
