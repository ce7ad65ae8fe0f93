// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/gramindex.h"

#include <algorithm>

namespace {

constexpr int kPairBase = 256;
constexpr int kTripleBase = kPairBase + 65536;
constexpr int kTripleBits = 16;
constexpr int kKeyCount = kTripleBase + (1 << kTripleBits);

// What a kept piece costs besides its list: its key and its list's record.
constexpr qsizetype kPieceBytes =
    qsizetype(sizeof(qint32) + sizeof(std::vector<quint32>) + sizeof(std::vector<quint64>));

inline int pairKey(unsigned char a, unsigned char b)
{
    return kPairBase + (a << 8 | b);
}

inline int tripleKey(unsigned char a, unsigned char b, unsigned char c)
{
    const quint32 packed = quint32(a) << 16 | quint32(b) << 8 | c;
    return kTripleBase + int((packed * 2654435761u) >> (32 - kTripleBits));
}

// Search words hold neither a line break nor a blank, so no piece with one is kept.
inline bool isBreak(unsigned char c)
{
    return c == '\n' || c == ' ';
}

} // namespace

// Adds each record's pieces once, in record order, so every id list stays ascending.
struct GramIndex::Builder {
    GramIndex& index;
    qsizetype budget;
    std::vector<qint32> lastRecord = std::vector<qint32>(kKeyCount, -1);
    std::vector<qint32> slotOfKey = std::vector<qint32>(kKeyCount, -1);
    qsizetype bytes = 0;
    size_t bitWords = 0;

    void add(int key, qint32 record)
    {
        if (lastRecord[size_t(key)] == record)
            return;
        lastRecord[size_t(key)] = record;
        qint32& slot = slotOfKey[size_t(key)];
        if (slot < 0) {
            slot = qint32(index.m_postings.size());
            index.m_postings.emplace_back();
            index.m_keys.push_back(key);
            bytes += kPieceBytes;
        }
        Posting& p = index.m_postings[size_t(slot)];
        if (!p.bits.empty()) {
            p.bits[size_t(record) >> 6] |= quint64(1) << (record & 63);
            return;
        }
        p.ids.push_back(quint32(record));
        bytes += 4;
        if (p.ids.size() * 4 >= bitWords * 8) { // bits take less room from here on
            p.bits.assign(bitWords, 0);
            for (quint32 id : p.ids)
                p.bits[id >> 6] |= quint64(1) << (id & 63);
            bytes += qsizetype(bitWords * 8) - qsizetype(p.ids.size() * 4);
            std::vector<quint32>().swap(p.ids);
        }
    }

    void dropTriples()
    {
        for (int key = kTripleBase; key < kKeyCount; ++key) {
            qint32& slot = slotOfKey[size_t(key)];
            if (slot < 0)
                continue;
            Posting& p = index.m_postings[size_t(slot)];
            bytes -= qsizetype(p.ids.size() * 4 + p.bits.size() * 8) + kPieceBytes;
            p = Posting();
        }
        index.m_triples = false;
    }

    void addRecord(QByteArrayView t, qint32 record)
    {
        const auto* s = reinterpret_cast<const unsigned char*>(t.data());
        const qsizetype n = t.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (isBreak(s[i]))
                continue;
            add(s[i], record);
            if (i + 1 >= n || isBreak(s[i + 1]))
                continue;
            add(pairKey(s[i], s[i + 1]), record);
            if (index.m_triples && i + 2 < n && !isBreak(s[i + 2]))
                add(tripleKey(s[i], s[i + 1], s[i + 2]), record);
        }
        if (bytes > budget && index.m_triples)
            dropTriples();
    }

    // Keeps the pieces that records hold, ordered by key for lookups.
    void finish()
    {
        const auto kept = [this](int key) {
            return slotOfKey[size_t(key)] >= 0 && (key < kTripleBase || index.m_triples);
        };
        size_t count = 0;
        for (int key = 0; key < kKeyCount; ++key)
            count += kept(key);
        std::vector<qint32> keys;
        std::vector<Posting> postings;
        keys.reserve(count);
        postings.reserve(count);
        for (int key = 0; key < kKeyCount; ++key) {
            if (!kept(key))
                continue;
            const qint32 slot = slotOfKey[size_t(key)];
            keys.push_back(key);
            postings.push_back(std::move(index.m_postings[size_t(slot)]));
            postings.back().ids.shrink_to_fit();
        }
        index.m_keys = std::move(keys);
        index.m_postings = std::move(postings);
    }
};

void GramIndex::build(int count, const std::function<QByteArrayView(int)>& text, qsizetype budget,
                      const std::atomic<bool>* cancel, bool triples)
{
    *this = GramIndex();
    m_count = count;
    m_triples = triples;
    Builder builder{*this, budget};
    builder.bitWords = (size_t(count) + 63) / 64;
    for (int i = 0; i < count; ++i) {
        if ((cancel && cancel->load(std::memory_order_relaxed)) || builder.bytes > budget) {
            *this = GramIndex();
            m_count = count;
            return;
        }
        builder.addRecord(text(i), i);
    }
    builder.finish();
    // The builder counted the lists alone; the pieces' own records count too.
    m_usable = bytes() <= budget;
    if (!m_usable) {
        *this = GramIndex();
        m_count = count;
    }
}

int GramIndex::keyOfPiece(QByteArrayView piece) const
{
    const auto* s = reinterpret_cast<const unsigned char*>(piece.data());
    switch (piece.size()) {
    case 1:
        return s[0];
    case 2:
        return pairKey(s[0], s[1]);
    default:
        return tripleKey(s[0], s[1], s[2]);
    }
}

void GramIndex::intersectWith(RecordSet& set, int key) const
{
    const auto it = std::lower_bound(m_keys.cbegin(), m_keys.cend(), key);
    if (it == m_keys.cend() || *it != key) { // no record holds the piece
        set = RecordSet(m_count, false);
        return;
    }
    const Posting& p = m_postings[size_t(it - m_keys.cbegin())];
    if (p.bits.empty()) {
        set.intersect(p.ids);
        return;
    }
    std::vector<quint64>& words = set.words();
    for (size_t w = 0; w < words.size(); ++w)
        words[w] &= p.bits[w];
}

RecordSet GramIndex::candidates(QByteArrayView word) const
{
    RecordSet set(m_count, true);
    if (word.contains('\n')) // no line holds a line break
        return RecordSet(m_count, false);
    if (!m_usable || word.isEmpty() || word.contains(' ')) // pieces with a blank are not kept
        return set;
    const qsizetype piece = word.size() <= 2 ? word.size() : m_triples ? 3 : 2;
    for (qsizetype i = 0; i + piece <= word.size() && !set.isEmpty(); ++i)
        intersectWith(set, keyOfPiece(word.sliced(i, piece)));
    return set;
}

qsizetype GramIndex::bytes() const
{
    qsizetype total =
        qsizetype(m_keys.capacity() * sizeof(qint32) + m_postings.capacity() * sizeof(Posting));
    for (const Posting& p : m_postings)
        total += qsizetype(p.ids.capacity() * 4 + p.bits.capacity() * 8);
    return total;
}

void GramIndex::save(FlatWriter& out) const
{
    out.number(qint32(m_count));
    out.number(quint8(m_usable));
    out.number(quint8(m_triples));
    out.array(m_keys);
    for (const Posting& p : m_postings) {
        out.array(p.ids);
        out.array(p.bits);
    }
}

bool GramIndex::load(FlatReader& in)
{
    *this = GramIndex();
    GramIndex g;
    g.m_count = in.number<qint32>();
    g.m_usable = in.number<quint8>() != 0;
    g.m_triples = in.number<quint8>() != 0;
    g.m_keys = in.array<qint32>();
    if (!in.ok() || g.m_count < 0)
        return false;
    const size_t bitWords = (size_t(g.m_count) + 63) / 64;
    g.m_postings.reserve(g.m_keys.size());
    for (size_t i = 0; i < g.m_keys.size() && in.ok(); ++i) {
        // Keys ascend strictly and name a piece; a posting is ascending record ids or
        // one bit per record.
        if (g.m_keys[i] < 0 || g.m_keys[i] >= kKeyCount || (i > 0 && g.m_keys[i] <= g.m_keys[i - 1]))
            return false;
        Posting& p = g.m_postings.emplace_back();
        p.ids = in.array<quint32>();
        p.bits = in.array<quint64>();
        if (!p.bits.empty() && p.bits.size() != bitWords)
            return false;
        for (size_t k = 0; k < p.ids.size(); ++k)
            if (p.ids[k] >= quint32(g.m_count) || (k > 0 && p.ids[k] <= p.ids[k - 1]))
                return false;
    }
    if (!in.ok())
        return false;
    *this = std::move(g);
    return true;
}
