// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/wordindex.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

inline bool isBreak(unsigned char c)
{
    return c == '\n' || c == ' ';
}

// FNV-1a, worked out while the word is scanned for its end.
constexpr quint32 kHashStart = 2166136261u;
inline quint32 hashStep(quint32 h, unsigned char c)
{
    return (h ^ c) * 16777619u;
}

inline size_t slotOf(quint32 hash, size_t mask)
{
    return size_t(hash ^ (hash >> 16)) & mask;
}

// Records are listed as 4-byte ids, or as one bit per record once that is smaller.
inline bool dense(quint32 holders, qsizetype bitBytes)
{
    return holders > 0 && qsizetype(holders) * 4 >= bitBytes;
}

} // namespace

// Collects the distinct words and, record after record, which of them each record holds;
// finish() turns that into the lists by word.
struct WordIndex::Builder {
    WordIndex& index;
    std::vector<quint32> table = std::vector<quint32>(1024, 0); // word + 1, 0 for empty
    std::vector<quint32> hashes{};
    std::vector<qint32> lastRecord{};
    std::vector<quint32>& recordWords = index.m_recordWords;
    std::vector<quint32>& recordEnds = index.m_recordEnds;

    std::vector<quint32> holders{};
    qsizetype bitBytes = 0;     // one bit per record
    qsizetype postingBytes = 0; // the records of every word as they will be kept

    // What the finished index will take.
    qsizetype bytes() const
    {
        return index.m_text.size() + qsizetype(index.m_starts.size() * 12) + postingBytes;
    }

    void addHolder(quint32 w)
    {
        const qsizetype before = std::min(qsizetype(holders[w]) * 4, bitBytes);
        ++holders[w];
        postingBytes += std::min(qsizetype(holders[w]) * 4, bitBytes) - before;
    }

    void grow()
    {
        std::vector<quint32> bigger(table.size() * 2, 0);
        const size_t mask = bigger.size() - 1;
        for (quint32 w = 0; w < hashes.size(); ++w) {
            size_t at = slotOf(hashes[w], mask);
            while (bigger[at])
                at = (at + 1) & mask;
            bigger[at] = w + 1;
        }
        table.swap(bigger);
    }

    quint32 wordOf(const unsigned char* s, qsizetype n, quint32 h)
    {
        const size_t mask = table.size() - 1;
        for (size_t at = slotOf(h, mask);; at = (at + 1) & mask) {
            const quint32 slot = table[at];
            if (slot == 0) {
                const quint32 w = quint32(hashes.size());
                index.m_text.append(reinterpret_cast<const char*>(s), n);
                index.m_text.append('\n');
                index.m_starts.push_back(quint32(index.m_text.size()));
                hashes.push_back(h);
                lastRecord.push_back(-1);
                holders.push_back(0);
                table[at] = w + 1;
                if (hashes.size() * 2 > table.size())
                    grow();
                return w;
            }
            const quint32 w = slot - 1;
            const quint32 from = index.m_starts[w];
            if (hashes[w] == h && index.m_starts[w + 1] - from == quint32(n) + 1 &&
                std::memcmp(index.m_text.constData() + from, s, size_t(n)) == 0)
                return w;
        }
    }

    void addRecord(QByteArrayView text, qint32 record)
    {
        const auto* s = reinterpret_cast<const unsigned char*>(text.data());
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n;) {
            if (isBreak(s[i])) {
                ++i;
                continue;
            }
            quint32 h = kHashStart;
            qsizetype end = i;
            do
                h = hashStep(h, s[end++]);
            while (end < n && !isBreak(s[end]));
            const quint32 w = wordOf(s + i, end - i, h);
            if (lastRecord[w] != record) {
                lastRecord[w] = record;
                recordWords.push_back(w);
                addHolder(w);
            }
            i = end;
        }
        recordEnds.push_back(quint32(recordWords.size()));
    }

    void finish()
    {
        const size_t words = hashes.size();
        const int count = index.m_count;
        const size_t bitWords = (size_t(count) + 63) / 64;
        index.m_firstId.assign(words + 1, 0);
        index.m_bitsOf.assign(words, -1);
        qint32 denseWords = 0;
        for (size_t w = 0; w < words; ++w) {
            const bool bits = dense(holders[w], bitBytes);
            if (bits)
                index.m_bitsOf[w] = denseWords++;
            index.m_firstId[w + 1] = index.m_firstId[w] + (bits ? 0 : holders[w]);
        }
        index.m_ids.resize(index.m_firstId[words]);
        index.m_bits.assign(size_t(denseWords) * bitWords, 0);
        std::vector<quint32> next(index.m_firstId.cbegin(), index.m_firstId.cend() - 1);
        size_t at = 0;
        for (int record = 0; record < count; ++record) {
            for (const size_t end = recordEnds[size_t(record)]; at < end; ++at) {
                const quint32 w = recordWords[at];
                const qint32 bits = index.m_bitsOf[w];
                if (bits < 0)
                    index.m_ids[next[w]++] = quint32(record);
                else
                    index.m_bits[size_t(bits) * bitWords + (size_t(record) >> 6)] |=
                        quint64(1) << (record & 63);
            }
        }
        index.m_text.squeeze();
        index.m_starts.shrink_to_fit();
    }
};

void WordIndex::build(int count, const std::function<QByteArrayView(int)>& text, qsizetype budget,
                      const std::atomic<bool>* cancel)
{
    *this = WordIndex();
    m_count = count;
    Builder builder{*this};
    builder.bitBytes = qsizetype((size_t(count) + 63) / 64 * 8);
    m_recordEnds.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const bool tooLarge = builder.bytes() > budget ||
                              m_recordWords.size() >= std::numeric_limits<quint32>::max() / 2 ||
                              m_text.size() >= std::numeric_limits<quint32>::max() / 2;
        if ((cancel && cancel->load(std::memory_order_relaxed)) || tooLarge) {
            *this = WordIndex();
            m_count = count;
            return;
        }
        builder.addRecord(text(i), i);
    }
    builder.finish();
    m_usable = keptBytes() <= budget;
    if (!m_usable) {
        *this = WordIndex();
        m_count = count;
    }
}

std::vector<quint32> WordIndex::wordsHolding(QByteArrayView part,
                                             const std::vector<quint32>* within) const
{
    std::vector<quint32> found;
    if (part.isEmpty() || !m_usable)
        return found;
    if (within) {
        for (quint32 w : *within) {
            if (word(w).contains(part))
                found.push_back(w);
        }
        return found;
    }
    // The words are separated by line breaks, which part does not hold, so every place
    // found lies inside one word; the search goes on after that word.
    const char* text = m_text.constData();
    const size_t size = size_t(m_text.size());
    size_t from = 0;
    while (from < size) {
        const void* hit = ::memmem(text + from, size - from, part.data(), size_t(part.size()));
        if (!hit)
            break;
        const auto at = quint32(static_cast<const char*>(hit) - text);
        const auto w = quint32(std::upper_bound(m_starts.cbegin(), m_starts.cend(), at) -
                               m_starts.cbegin() - 1);
        found.push_back(w);
        from = m_starts[w + 1];
    }
    return found;
}

RecordSet WordIndex::recordsOf(const std::vector<quint32>& words) const
{
    RecordSet set(m_count, false);
    std::vector<quint64>& out = set.words();
    const size_t bitWords = out.size();
    for (quint32 w : words) {
        const qint32 bits = m_bitsOf[w];
        if (bits >= 0) {
            const quint64* in = m_bits.data() + size_t(bits) * bitWords;
            for (size_t i = 0; i < bitWords; ++i)
                out[i] |= in[i];
        } else {
            for (quint32 k = m_firstId[w]; k < m_firstId[w + 1]; ++k)
                set.insert(int(m_ids[k]));
        }
    }
    return set;
}

QByteArrayView WordIndex::recordWords(int record, QByteArray& scratch) const
{
    scratch.clear();
    const quint32 from = record > 0 ? m_recordEnds[size_t(record) - 1] : 0;
    for (quint32 k = from; k < m_recordEnds[size_t(record)]; ++k) {
        const quint32 w = m_recordWords[k];
        scratch.append(m_text.constData() + m_starts[w], m_starts[w + 1] - m_starts[w]);
    }
    return scratch;
}

void WordIndex::dropRecordWords()
{
    std::vector<quint32>().swap(m_recordWords);
    std::vector<quint32>().swap(m_recordEnds);
}

qsizetype WordIndex::bytes() const
{
    return m_usable ? keptBytes() : 0;
}

qsizetype WordIndex::keptBytes() const
{
    return m_text.capacity() +
           qsizetype((m_starts.capacity() + m_firstId.capacity() + m_ids.capacity() +
                      m_bitsOf.capacity()) *
                     4) +
           qsizetype(m_bits.capacity() * 8);
}

void WordIndex::save(FlatWriter& out) const
{
    out.number(qint32(m_count));
    out.number(quint8(m_usable));
    out.bytes(m_text);
    out.array(m_starts);
    out.array(m_firstId);
    out.array(m_ids);
    out.array(m_bitsOf);
    out.array(m_bits);
    out.array(m_recordWords);
    out.array(m_recordEnds);
}

namespace {

// True when values ascend (each at least the one before) and the last is at most limit.
bool ascendingUpTo(const std::vector<quint32>& values, quint64 limit)
{
    for (size_t i = 1; i < values.size(); ++i)
        if (values[i] < values[i - 1])
            return false;
    return values.empty() || values.back() <= limit;
}

bool allBelow(const std::vector<quint32>& values, quint64 limit)
{
    return std::all_of(values.cbegin(), values.cend(), [limit](quint32 v) { return v < limit; });
}

} // namespace

bool WordIndex::load(FlatReader& in)
{
    *this = WordIndex();
    WordIndex w;
    w.m_count = in.number<qint32>();
    w.m_usable = in.number<quint8>() != 0;
    w.m_text = in.bytes();
    w.m_starts = in.array<quint32>();
    w.m_firstId = in.array<quint32>();
    w.m_ids = in.array<quint32>();
    w.m_bitsOf = in.array<qint32>();
    w.m_bits = in.array<quint64>();
    w.m_recordWords = in.array<quint32>();
    w.m_recordEnds = in.array<quint32>();
    if (!in.ok() || w.m_count < 0 || w.m_starts.empty() || w.m_starts.front() != 0)
        return false;
    // Every lookup of the index stays inside its arrays: the words in the text, each
    // word's records among the ids or the bits, the records' words among the words.
    const size_t words = w.m_starts.size() - 1;
    const size_t bitWords = (size_t(w.m_count) + 63) / 64;
    const bool consistent =
        ascendingUpTo(w.m_starts, quint64(w.m_text.size())) &&
        (!w.m_usable ||
         (w.m_firstId.size() == words + 1 && w.m_bitsOf.size() == words &&
          ascendingUpTo(w.m_firstId, w.m_ids.size()) && allBelow(w.m_ids, quint64(w.m_count)) &&
          w.m_bits.size() % std::max<size_t>(bitWords, 1) == 0 &&
          std::all_of(w.m_bitsOf.cbegin(), w.m_bitsOf.cend(),
                      [&](qint32 b) {
                          return b < 0 || (size_t(b) + 1) * bitWords <= w.m_bits.size();
                      }))) &&
        (w.m_recordEnds.empty() ||
         (w.m_recordEnds.size() == size_t(w.m_count) &&
          ascendingUpTo(w.m_recordEnds, w.m_recordWords.size()) &&
          allBelow(w.m_recordWords, words)));
    // Words end with a line break, which the lookups count on.
    for (size_t i = 1; consistent && i < w.m_starts.size(); ++i)
        if (w.m_starts[i] == w.m_starts[i - 1] || w.m_text.at(w.m_starts[i] - 1) != '\n')
            return false;
    if (!consistent)
        return false;
    *this = std::move(w);
    return true;
}
