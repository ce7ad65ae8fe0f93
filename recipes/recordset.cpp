// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recordset.h"

#include <algorithm>

RecordSet::RecordSet(int size, bool full)
    : m_bits((size_t(std::max(size, 0)) + 63) / 64, full ? ~quint64(0) : 0),
      m_size(std::max(size, 0))
{
    // Bits past the last record stay clear, so counting and comparing need no mask.
    if (full && (m_size & 63))
        m_bits.back() = (quint64(1) << (m_size & 63)) - 1;
}

int RecordSet::count() const
{
    int n = 0;
    for (quint64 w : m_bits)
        n += std::popcount(w);
    return n;
}

bool RecordSet::isEmpty() const
{
    return std::all_of(m_bits.cbegin(), m_bits.cend(), [](quint64 w) { return w == 0; });
}

void RecordSet::intersect(const RecordSet& other)
{
    for (size_t w = 0; w < m_bits.size(); ++w)
        m_bits[w] &= other.m_bits[w];
}

void RecordSet::intersect(const std::vector<quint32>& ids)
{
    std::vector<quint64> kept(m_bits.size(), 0);
    for (quint32 i : ids) {
        const quint64 bit = quint64(1) << (i & 63);
        kept[i >> 6] |= m_bits[i >> 6] & bit;
    }
    m_bits.swap(kept);
}
