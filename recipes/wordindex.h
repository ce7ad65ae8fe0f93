// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/flatbytes.h"
#include "recipes/recordset.h"

#include <QByteArray>
#include <QByteArrayView>

#include <atomic>
#include <functional>
#include <vector>

/// The distinct words of a collection's prepared search lines and the records holding
/// each. A word here is a longest run of bytes without a blank or a line break. Search
/// words hold neither, so a record's lines hold a search word exactly when one of the
/// record's words does: looking the search word up in the few distinct words and taking
/// the records of those that hold it gives the exact records, without reading any
/// record's lines. That is what keeps a keystroke's cost independent of how many
/// records match.
class WordIndex {
public:
    /// Indexes count texts. Stops and keeps nothing (usable() false) when the index would
    /// pass budget bytes or when cancel is set.
    void build(int count, const std::function<QByteArrayView(int)>& text, qsizetype budget,
               const std::atomic<bool>* cancel = nullptr);

    bool usable() const { return m_usable; }
    int recordCount() const { return m_count; }
    int wordCount() const { return int(m_starts.size()) - 1; }
    /// Memory the words, lists and bits take (nothing is kept when not usable).
    qsizetype bytes() const;

    /// The indices of the distinct words that hold part, ascending. When within is given,
    /// only those words are looked at: the words of a part that part holds.
    /// part must not hold a blank or line break.
    std::vector<quint32> wordsHolding(QByteArrayView part,
                                      const std::vector<quint32>* within = nullptr) const;
    /// The records that hold any of words.
    RecordSet recordsOf(const std::vector<quint32>& words) const;

    /// The distinct words of record, each followed by a line break: all of its pieces
    /// without a blank or line break, in a fraction of its lines' size. Kept from the
    /// build until dropRecordWords().
    QByteArrayView recordWords(int record, QByteArray& scratch) const;
    void dropRecordWords();

    /// The index as bytes for a cache, and read back from them: false (the index left
    /// empty) when they do not hold a whole, consistent index.
    void save(FlatWriter& out) const;
    bool load(FlatReader& in);

private:
    struct Builder;

    qsizetype keptBytes() const;

    QByteArrayView word(quint32 w) const
    {
        return QByteArrayView(m_text.constData() + m_starts[w], m_starts[w + 1] - m_starts[w] - 1);
    }

    QByteArray m_text;                // every distinct word followed by "\n"
    std::vector<quint32> m_starts{0}; // word w is m_text[m_starts[w], m_starts[w + 1] - 1)
    // Records of word w: m_ids[m_firstId[w], m_firstId[w + 1]) ascending, or, for a word
    // that many records hold, one bit per record in m_bits from m_bitsOf[w] * words.
    std::vector<quint32> m_firstId;
    std::vector<quint32> m_ids;
    std::vector<qint32> m_bitsOf;
    std::vector<quint64> m_bits;
    std::vector<quint32> m_recordWords; // the words of record 0, then of record 1, ...
    std::vector<quint32> m_recordEnds;
    int m_count = 0;
    bool m_usable = false;
};
