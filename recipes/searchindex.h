// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/recordset.h"
#include "recipes/textrules.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <vector>

/// Decides whether prepared search lines hold the words of a search text as the list
/// requires: every word, or with the sauce spellings all but the two added ones. The
/// words are compiled once per fill and then matched against every candidate record.
class SearchMatcher {
public:
    SearchMatcher(const QByteArrayList& words, int synonymMarker);
    bool matches(QByteArrayView preparedLines) const
    {
        return matches(preparedLines, [](qsizetype) { return false; });
    }
    /// The same for lines of which absent(j) tells that they cannot hold word j (the
    /// piece index knows) and start(j) that they hold it nowhere before that offset:
    /// word j is looked for from there on. found(j, offset) learns the first place of
    /// each word looked for, -1 for a word the lines do not hold.
    template <typename Absent, typename Start, typename Found>
    bool matches(QByteArrayView preparedLines, Absent absent, Start start, Found found) const
    {
        int missing = 0;
        for (qsizetype j = 0; j < m_words.size(); ++j) {
            const qsizetype at =
                m_never[j] || absent(j) ? -1 : firstPlace(preparedLines, m_words[j], start(j));
            found(j, at);
            if (at < 0 && ++missing > m_marker)
                return false;
        }
        return true;
    }
    template <typename Absent> bool matches(QByteArrayView preparedLines, Absent absent) const
    {
        return matches(
            preparedLines, absent, [](qsizetype) { return qsizetype(0); },
            [](qsizetype, qsizetype) {});
    }

private:
    static qsizetype firstPlace(QByteArrayView lines, const QByteArray& word, qsizetype from);

    QByteArrayList m_words;
    std::vector<bool> m_never; // words that no line can hold
    int m_marker = 0;
};

/// What a keystroke's fill searches, prepared once per reload from the search lines of
/// every record, folded and upper-cased: the indexes of their words and pieces (or the
/// lines themselves), the results of the last searches, and what is known of the
/// catalogue's order. A record's lines, in search order: Name, the cooking date and every further
/// cooking date as short dates, the difficulty stars, Servings, PrepTime, Devices,
/// Categories, the lines of Ingredients, Instructions and Comments, Binder, Magazine,
/// Page, Remark, the lines of IngredientNames, Units, Quantities and Descriptions (Book
/// is not searched).
///
/// The word index (see WordIndex) answers which records hold a search word exactly,
/// by matching the word against each distinct word of the lines once instead of
/// against every record; the piece index answers words of one or two bytes exactly.
/// The lines are then not kept. Only when the word index would pass its budget are the
/// lines kept and records checked on them by SearchMatcher: then an index of pieces of
/// up to three bytes saves checking records that cannot hold a word, and a search whose
/// words contain the words of an earlier one checks only that search's records.
class SearchIndex {
public:
    struct Options {
        /// Largest size of the word and piece indexes together, as a share of the
        /// prepared lines' size; 0 keeps neither and every search checks every record.
        double indexBudget = 1.0;
        /// Whether searches reuse the results of earlier searches and words.
        bool reuseResults = true;
    };

    SearchIndex();
    explicit SearchIndex(Options options);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    /// Prepares the lines of every record of kv, which is in list order, and indexes them.
    void rebuild(const TKV& kv);
    /// The same on a second thread, over the records as they are now (kv shares them;
    /// the catalogue copies them only if it changes before the work is done). Searches
    /// and line lookups wait for it.
    /// With saved, the prepared index is also handed to it as bytes (see save()) on the
    /// second thread once done, unless the work was given up.
    void rebuildInBackground(const TKV& kv,
                             std::function<void(const QByteArray&)> saved = nullptr);
    /// The prepared index as bytes for a cache (waits for a rebuild on the second
    /// thread); restore() takes it back for the same records instead of preparing them
    /// again, and is false (the index unchanged) when the bytes do not hold a whole,
    /// consistent index of kv's size.
    QByteArray save() const;
    bool restore(const TKV& kv, QByteArrayView bytes);
    /// Forgets the lines and the order: call after every reload and whenever names or
    /// the order of the catalogue changed. The next search prepares the lines again.
    void clear();
    /// True when the lines were (or are being) prepared for kv.
    bool fits(const TKV& kv) const { return m_count >= 0 && m_count == kv.size(); }
    /// True while a rebuild runs on the second thread.
    bool building() const;
    /// Waits until a rebuild on the second thread is done.
    void waitUntilBuilt() const;

    qsizetype size() const { return m_count < 0 ? 0 : m_count; }
    /// The prepared lines of record index, joined with "\n", when they are kept: only
    /// without a word index (an index budget of 0, or one the word index passed).
    QByteArrayView lines(int index) const;
    /// Bytes of all records' prepared lines, of the prepared lines held (none when the
    /// word index answers every search), and of the word and piece indexes.
    qsizetype preparedBytes() const;
    qsizetype heldLineBytes() const;
    qsizetype indexBytes() const;

    /// The records whose prepared lines hold the words of searchText as the list
    /// requires (see SplitSearchWords for how a search text becomes words).
    RecordSet find(const QByteArray& searchText);

    /// The catalogue changed by single records since the lines were prepared (others
    /// changed files in the recipe folder): the index follows without preparing every
    /// record again. previousOf gives for every record of kv its index before the
    /// change, or -1 for a record that is new or changed: its lines are prepared now and
    /// checked on every search. Records no index maps to are no longer listed.
    void follow(const std::vector<int>& previousOf, const TKV& kv);
    /// Records checked on their own lines since the last rebuild: when many are, a
    /// rebuild makes searching fast again.
    qsizetype changedRecords() const { return qsizetype(m_changedLines.size()); }

    /// Remembers that kv is sorted by name, until clear() or until kv is resized or
    /// moved, so that a fill need not check every name again.
    void noteSortedByName(const TKV& kv);
    bool knowsSortedByName(const TKV& kv) const
    {
        return m_sortedRecords == kv.constData() && m_sortedCount == kv.size();
    }

private:
    struct Content;
    // A search's words and the records it lists, with what its checks learnt of each
    // word: for every record checked, the first place of the word in its lines or
    // that they do not hold it. Later searches start looking for a longer word there.
    struct Result {
        QByteArrayList words;
        int marker = 0;
        RecordSet records;
        std::vector<std::vector<quint32>> places; // [word][record]
    };
    // The records holding one word as the word index found them, and the distinct
    // words of the lines that hold it: a longer word is looked for only among those.
    struct WordHolders {
        QByteArray word;
        std::vector<quint32> words;
        RecordSet records;
    };
    const Content& content() const;
    RecordSet holders(const QByteArray& word, bool* exact);
    RecordSet findPrepared(const SearchWords& search);
    void remember(Result result);

    Options m_options;
    mutable std::shared_ptr<const Content> m_content;
    mutable std::future<std::shared_ptr<const Content>> m_pending;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    std::deque<Result> m_results;
    std::deque<WordHolders> m_holders;
    qsizetype m_count = -1;
    // After single-record changes: for every catalogue index, the record's index in the
    // prepared content, or -1 - n for the n-th of the lines prepared since. Empty while
    // the catalogue is as the content was prepared.
    std::vector<int> m_preparedOf;
    std::vector<QByteArray> m_changedLines;
    const TKVG* m_sortedRecords = nullptr;
    qsizetype m_sortedCount = -1;
};
