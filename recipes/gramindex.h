// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/flatbytes.h"
#include "recipes/recordset.h"

#include <QByteArrayView>

#include <atomic>
#include <functional>
#include <vector>

/// Which records hold each piece of one, two and three bytes of their prepared search
/// lines. It proposes the records that may hold a search word; the search then checks
/// each of them on its lines. Pieces with a line break or a blank are not kept, since
/// search words hold neither; for a word with a blank it proposes every record.
///
/// Single bytes and pairs are kept exactly; triples are hashed into a fixed number of
/// buckets, so a triple's records may include some that hold another triple of its
/// bucket. Each piece lists its records either as ascending indices or, once that would
/// take more room, as one bit per record.
class GramIndex {
public:
    /// Builds the index over count texts. It stops adding triples when its size would
    /// pass budget bytes and then answers from pairs; when pairs alone pass it too, it
    /// keeps nothing and proposes every record. A set cancel flag ends the build early,
    /// leaving an index that proposes every record. Without triples it keeps single
    /// bytes and pairs only, which answer words of one or two bytes exactly.
    void build(int count, const std::function<QByteArrayView(int)>& text, qsizetype budget,
               const std::atomic<bool>* cancel = nullptr, bool triples = true);

    /// The records that may hold word: all that hold it, perhaps a few more.
    RecordSet candidates(QByteArrayView word) const;

    int recordCount() const { return m_count; }
    /// True when the index narrows searches at all (false when over budget or cancelled).
    bool usable() const { return m_usable; }
    bool hasTriples() const { return m_triples; }
    /// Memory the lists and bits take.
    qsizetype bytes() const;

    /// The index as bytes for a cache, and read back from them: false (the index left
    /// empty) when they do not hold a whole, consistent index.
    void save(FlatWriter& out) const;
    bool load(FlatReader& in);

private:
    struct Posting {
        std::vector<quint32> ids;
        std::vector<quint64> bits;
    };
    struct Builder;
    friend struct Builder;

    int keyOfPiece(QByteArrayView piece) const;
    void intersectWith(RecordSet& set, int key) const;

    std::vector<qint32> m_keys; // ascending; m_postings[i] belongs to m_keys[i]
    std::vector<Posting> m_postings;
    int m_count = 0;
    bool m_usable = false;
    bool m_triples = false;
};
