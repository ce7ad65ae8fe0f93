// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QtGlobal>

#include <bit>
#include <vector>

/// A set of catalogue indices 0 to size - 1, one bit each: the search keeps candidate
/// and result sets this way so that combining them costs a few thousand word operations
/// even for a large catalogue.
class RecordSet {
public:
    RecordSet() = default;
    /// A set over size records, holding all of them when full, none otherwise.
    RecordSet(int size, bool full);

    int size() const { return m_size; }
    bool contains(int i) const { return (m_bits[size_t(i) >> 6] >> (i & 63)) & 1; }
    void insert(int i) { m_bits[size_t(i) >> 6] |= quint64(1) << (i & 63); }
    int count() const;
    bool isEmpty() const;

    /// Keeps only the records that other holds too (other has the same size).
    void intersect(const RecordSet& other);
    /// Keeps only the records listed in ids (ascending indices below size).
    void intersect(const std::vector<quint32>& ids);

    const std::vector<quint64>& words() const { return m_bits; }
    std::vector<quint64>& words() { return m_bits; }

    /// Calls fn(i) for every record of the set in ascending order.
    template <typename Fn> void forEach(Fn fn) const
    {
        for (size_t w = 0; w < m_bits.size(); ++w) {
            for (quint64 bits = m_bits[w]; bits; bits &= bits - 1)
                fn(int(w * 64 + size_t(std::countr_zero(bits))));
        }
    }

    bool operator==(const RecordSet& other) const = default;

private:
    std::vector<quint64> m_bits;
    int m_size = 0;
};
