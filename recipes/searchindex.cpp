// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/searchindex.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/gramindex.h"
#include "recipes/textrules.h"
#include "recipes/wordindex.h"

#include <QHash>
#include <QLocale>

#include <array>
#include <cmath>
#include <cstring>
#include <numeric>

namespace {

// Searches kept for reuse: enough for typing a few words and deleting them again.
constexpr size_t kKeptResults = 16;
// Words whose holders are kept: the words of those searches, and their sauce spellings.
constexpr size_t kKeptWords = 32;
// What a search learnt of a word in a record's lines besides its first place.
constexpr quint32 kNotHeld = 0xFFFFFFFE;
constexpr quint32 kUnknownPlace = 0xFFFFFFFF;

// Folding and upper-casing in one pass: each byte maps to one or two bytes.
struct PrepareTable {
    std::array<std::array<char, 2>, 256> to{};
    std::array<quint8, 256> length{};
    PrepareTable()
    {
        for (int b = 0; b < 256; ++b) {
            const QByteArray mapped = cp1252::toUpper(FoldAccents(QByteArray(1, char(b))));
            length[b] = quint8(mapped.size());
            for (qsizetype i = 0; i < mapped.size(); ++i)
                to[b][i] = mapped[i];
        }
    }
};

// Short dates of the day counts seen in one rebuild; most records share few dates.
class DateTexts {
public:
    const QByteArray& operator()(double days)
    {
        const qint64 day = qint64(std::floor(days));
        auto it = m_texts.constFind(day);
        if (it == m_texts.constEnd()) {
            const QString text =
                QLocale().toString(dateTimeFromDayCount(days).date(), QLocale::ShortFormat);
            it = m_texts.insert(day, cp1252::fromUnicode(text));
        }
        return it.value();
    }

private:
    QHash<qint64, QByteArray> m_texts;
};

// Writes the prepared lines of one record after another into one block of text.
class LineWriter {
public:
    explicit LineWriter(QByteArray& text) : m_text(text) {}

    void startRecord() { m_first = true; }
    void append(QByteArrayView line)
    {
        static const PrepareTable table;
        const qsizetype start = m_text.size();
        m_text.resize(start + 1 + 2 * line.size()); // a byte becomes at most two
        char* p = m_text.data() + start;
        if (!m_first)
            *p++ = '\n';
        m_first = false;
        for (char c : line) {
            const auto b = static_cast<unsigned char>(c);
            *p++ = table.to[b][0];
            if (table.length[b] == 2)
                *p++ = table.to[b][1];
        }
        m_text.truncate(p - m_text.constData());
    }
    void append(const TSTRING& lines)
    {
        for (QByteArrayView line : lines)
            append(line);
    }

private:
    QByteArray& m_text;
    bool m_first = true;
};

qsizetype rawSize(const TKVG& r)
{
    qsizetype size = 16 * (2 + r.CookedDates.size());
    for (const QByteArray* text : {&r.Name, &r.Servings, &r.PrepTime, &r.Devices, &r.Categories,
                                   &r.Binder, &r.Magazine, &r.Page, &r.Remark})
        size += text->size() + 1;
    for (const TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments, &r.IngredientNames,
                                &r.Units, &r.Quantities, &r.Descriptions}) {
        for (QByteArrayView line : *list)
            size += line.size() + 1;
    }
    return size;
}

void appendRecord(LineWriter& out, DateTexts& dates, const TKVG& r)
{
    out.startRecord();
    out.append(r.Name);
    out.append(dates(r.LastCooked));
    for (double date : r.CookedDates)
        out.append(dates(date));
    if (r.Difficulty >= 1 && r.Difficulty <= 5)
        out.append(QByteArray(r.Difficulty, '*'));
    for (const QByteArray* text : {&r.Servings, &r.PrepTime, &r.Devices, &r.Categories})
        out.append(*text);
    for (const TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments})
        out.append(*list);
    for (const QByteArray* text : {&r.Binder, &r.Magazine, &r.Page, &r.Remark})
        out.append(*text);
    for (const TSTRING* list : {&r.IngredientNames, &r.Units, &r.Quantities, &r.Descriptions})
        out.append(*list);
}

// The prepared lines of one record.
QByteArray preparedLines(const TKVG& r)
{
    QByteArray text;
    LineWriter out(text);
    DateTexts dates;
    appendRecord(out, dates, r);
    return text;
}

} // namespace

// ---------------------------------------------------------------------------------------

SearchMatcher::SearchMatcher(const QByteArrayList& words, int synonymMarker)
    : m_words(words), m_marker(synonymMarker)
{
    // Lines are joined with "\n": a word holding one could match across two lines, and
    // no line holds one, so such a word is never found.
    for (const QByteArray& word : words)
        m_never.push_back(word.contains('\n'));
}

qsizetype SearchMatcher::firstPlace(QByteArrayView lines, const QByteArray& word, qsizetype from)
{
    if (from > lines.size())
        return -1;
    if (lines.sliced(from).startsWith(word)) // a place learnt before is often the place
        return from;
    const char* base = lines.data();
    const void* at =
        ::memmem(base + from, size_t(lines.size() - from), word.constData(), size_t(word.size()));
    return at ? static_cast<const char*>(at) - base : -1;
}

// ---------------------------------------------------------------------------------------

struct SearchIndex::Content {
    int count = 0;
    // Every record's prepared lines, one after another: record i's lines are
    // text[starts[i], starts[i + 1]). Kept only when records are checked on their lines,
    // that is when the word index is not kept.
    QByteArray text;
    std::vector<qsizetype> starts;
    qsizetype preparedSize = 0;
    WordIndex words;
    GramIndex grams;

    QByteArrayView lines(int i) const
    {
        return QByteArrayView(text.constData() + starts[size_t(i)],
                              starts[size_t(i) + 1] - starts[size_t(i)]);
    }

    void save(FlatWriter& out) const
    {
        out.number(qint32(count));
        out.number(qint64(preparedSize));
        out.bytes(text);
        out.array(starts);
        words.save(out);
        grams.save(out);
    }

    // The content that save() wrote for count records, or none.
    static std::shared_ptr<const Content> load(QByteArrayView bytes, int expectedCount)
    {
        auto c = std::make_shared<Content>();
        FlatReader in(bytes);
        c->count = in.number<qint32>();
        c->preparedSize = qsizetype(in.number<qint64>());
        c->text = in.bytes();
        c->starts = in.array<qsizetype>();
        if (!in.ok() || c->count != expectedCount || !c->words.load(in) || !c->grams.load(in) ||
            !in.atEnd())
            return nullptr;
        // Either the words or the lines answer the searches, each for every record.
        const bool byWords = c->words.usable() && c->words.recordCount() == c->count &&
                             c->text.isEmpty() && c->starts.empty();
        bool byLines = !c->words.usable() && c->starts.size() == size_t(c->count) + 1 &&
                       c->starts.front() == 0 && c->starts.back() == c->text.size();
        for (size_t i = 1; byLines && i < c->starts.size(); ++i)
            byLines = c->starts[i] >= c->starts[i - 1];
        if (!(byWords || byLines) || (c->grams.usable() && c->grams.recordCount() != c->count))
            return nullptr;
        return c;
    }

    static std::shared_ptr<const Content> build(const TKV& kv, double budget,
                                                const std::atomic<bool>* cancel)
    {
        auto content = std::make_shared<Content>();
        content->count = int(kv.size());
        qsizetype estimate = 0;
        for (const TKVG& r : kv)
            estimate += rawSize(r);
        DateTexts dates;
        if (budget > 0 && content->indexWords(kv, dates, budget, estimate, cancel))
            return content;
        content->prepareLines(kv, dates, estimate, cancel);
        if (budget > 0 && !(cancel && cancel->load(std::memory_order_relaxed))) {
            const Content& c = *content;
            content->grams.build(
                c.count, [&c](int i) { return c.lines(i); },
                qsizetype(budget * double(c.text.size())), cancel);
        }
        return content;
    }

private:
    // Builds the word index from each record's lines in turn, so that the lines of all
    // records are never held at once. False when it passed the budget.
    bool indexWords(const TKV& kv, DateTexts& dates, double budget, qsizetype estimate,
                    const std::atomic<bool>* cancel)
    {
        QByteArray scratch;
        qsizetype prepared = 0;
        const auto lines = [&](int i) {
            scratch.clear();
            LineWriter out(scratch);
            appendRecord(out, dates, kv[i]);
            prepared += scratch.size();
            return QByteArrayView(scratch);
        };
        words.build(count, lines, qsizetype(budget * double(estimate)), cancel);
        const auto limit = qsizetype(budget * double(prepared));
        if (!words.usable() || words.bytes() > limit) {
            words = WordIndex();
            return false;
        }
        // The pieces of a record's distinct words are the pieces of its lines; with the
        // word index they only answer words of one or two bytes.
        grams.build(
            count, [&](int i) { return words.recordWords(i, scratch); }, limit - words.bytes(),
            cancel, false);
        words.dropRecordWords();
        preparedSize = prepared;
        return true;
    }

    void prepareLines(const TKV& kv, DateTexts& dates, qsizetype estimate,
                      const std::atomic<bool>* cancel)
    {
        text.reserve(estimate + estimate / 16);
        starts.reserve(size_t(count) + 1);
        LineWriter out(text);
        for (const TKVG& r : kv) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return; // nobody waits for it any more
            starts.push_back(text.size());
            appendRecord(out, dates, r);
        }
        starts.push_back(text.size());
        if (text.capacity() > text.size() + text.size() / 8)
            text.squeeze();
        preparedSize = text.size();
    }
};

SearchIndex::SearchIndex() : SearchIndex(Options()) {}

SearchIndex::SearchIndex(Options options) : m_options(options) {}

SearchIndex::~SearchIndex()
{
    clear();
}

void SearchIndex::clear()
{
    if (m_cancel)
        m_cancel->store(true);
    if (m_pending.valid())
        m_pending.wait();
    m_pending = {};
    m_cancel.reset();
    m_content.reset();
    m_results.clear();
    m_holders.clear();
    m_count = -1;
    m_preparedOf.clear();
    m_changedLines.clear();
    m_sortedRecords = nullptr;
    m_sortedCount = -1;
}

void SearchIndex::rebuild(const TKV& kv)
{
    const TKVG* sorted = m_sortedRecords;
    const qsizetype sortedCount = m_sortedCount;
    clear();
    m_sortedRecords = sorted;
    m_sortedCount = sortedCount;
    m_content = Content::build(kv, m_options.indexBudget, nullptr);
    m_count = kv.size();
}

void SearchIndex::rebuildInBackground(const TKV& kv,
                                      std::function<void(const QByteArray&)> saved)
{
    const TKVG* sorted = m_sortedRecords;
    const qsizetype sortedCount = m_sortedCount;
    clear();
    m_sortedRecords = sorted;
    m_sortedCount = sortedCount;
    m_count = kv.size();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    // The copy shares the records; it is dropped as soon as the work is done, so a
    // catalogue left unchanged meanwhile is never copied.
    m_pending = std::async(std::launch::async, [records = kv, budget = m_options.indexBudget,
                                                cancel = m_cancel,
                                                saved = std::move(saved)]() mutable {
        auto content = Content::build(records, budget, cancel.get());
        records = TKV();
        if (saved && !cancel->load()) {
            QByteArray bytes;
            FlatWriter out(bytes);
            content->save(out);
            saved(bytes);
        }
        return content;
    });
}

bool SearchIndex::building() const
{
    return m_pending.valid() &&
           m_pending.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

void SearchIndex::waitUntilBuilt() const
{
    if (m_pending.valid())
        m_content = m_pending.get();
}

QByteArray SearchIndex::save() const
{
    waitUntilBuilt();
    QByteArray bytes;
    if (m_content) {
        FlatWriter out(bytes);
        m_content->save(out);
    }
    return bytes;
}

bool SearchIndex::restore(const TKV& kv, QByteArrayView bytes)
{
    auto content = Content::load(bytes, int(kv.size()));
    if (!content)
        return false;
    const TKVG* sorted = m_sortedRecords;
    const qsizetype sortedCount = m_sortedCount;
    clear();
    m_sortedRecords = sorted;
    m_sortedCount = sortedCount;
    m_content = std::move(content);
    m_count = kv.size();
    return true;
}

const SearchIndex::Content& SearchIndex::content() const
{
    waitUntilBuilt();
    static const Content kEmpty{0, {}, {0}, 0, {}, {}};
    return m_content ? *m_content : kEmpty;
}

QByteArrayView SearchIndex::lines(int index) const
{
    const Content& c = content();
    if (!m_preparedOf.empty()) {
        const int at = m_preparedOf[size_t(index)];
        if (at < 0)
            return m_changedLines[size_t(-1 - at)];
        index = at;
    }
    Q_ASSERT(!c.starts.empty());
    return c.starts.empty() ? QByteArrayView() : c.lines(index);
}

qsizetype SearchIndex::preparedBytes() const
{
    return content().preparedSize;
}

qsizetype SearchIndex::heldLineBytes() const
{
    const Content& c = content();
    return c.text.capacity() + qsizetype(c.starts.capacity() * sizeof(qsizetype));
}

qsizetype SearchIndex::indexBytes() const
{
    return content().grams.bytes() + content().words.bytes();
}

namespace {

// True when every record that holds all of words also holds all of earlier: each
// earlier word is part of a word of the new search.
bool narrows(const QByteArrayList& words, const QByteArrayList& earlier)
{
    return std::all_of(earlier.cbegin(), earlier.cend(), [&words](const QByteArray& old) {
        return std::any_of(words.cbegin(), words.cend(),
                           [&old](const QByteArray& word) { return word.contains(old); });
    });
}

} // namespace

RecordSet SearchIndex::holders(const QByteArray& word, bool* exact)
{
    const Content& c = content();
    const int count = c.count;
    *exact = true;
    if (word.contains('\n')) // no line holds a line break
        return RecordSet(count, false);
    if (!c.words.usable()) {
        *exact = word.size() <= 2 && !word.contains(' ') && c.grams.usable();
        return c.grams.usable() ? c.grams.candidates(word) : RecordSet(count, true);
    }
    // Search words are split at blanks, and folding makes none, so the distinct words
    // answer every word exactly.
    Q_ASSERT(!word.contains(' '));
    if (word.size() <= 2 && c.grams.usable()) // single bytes and pairs are kept exactly
        return c.grams.candidates(word);
    if (!m_options.reuseResults)
        return c.words.recordsOf(c.words.wordsHolding(word));
    const std::vector<quint32>* within = nullptr;
    qsizetype longest = 0;
    for (auto it = m_holders.begin(); it != m_holders.end(); ++it) {
        if (it->word == word) {
            std::rotate(m_holders.begin(), it, it + 1); // most recent first
            return m_holders.front().records;
        }
        if (it->word.size() > longest && word.contains(it->word)) {
            longest = it->word.size();
            within = &it->words;
        }
    }
    WordHolders found{word, c.words.wordsHolding(word, within), {}};
    found.records = c.words.recordsOf(found.words);
    if (m_holders.size() >= kKeptWords)
        m_holders.pop_back();
    m_holders.push_front(std::move(found));
    return m_holders.front().records;
}

namespace {

// The records that hold all the words of which holders gives the holders, or all but
// marker of them: for every record, count the words it lacks.
RecordSet holdersOfEnough(const std::vector<RecordSet>& holders, int marker, int count)
{
    // missing[j]: the records that lack exactly j of the words seen so far.
    std::vector<RecordSet> missing(size_t(marker) + 1, RecordSet(count, false));
    missing[0] = RecordSet(count, true);
    for (const RecordSet& holds : holders) {
        for (size_t w = 0; w < holds.words().size(); ++w) {
            const quint64 in = holds.words()[w];
            for (size_t j = missing.size() - 1; j > 0; --j)
                missing[j].words()[w] =
                    (missing[j].words()[w] & in) | (missing[j - 1].words()[w] & ~in);
            missing[0].words()[w] &= in;
        }
    }
    for (size_t j = 1; j < missing.size(); ++j) {
        for (size_t w = 0; w < missing[0].words().size(); ++w)
            missing[0].words()[w] |= missing[j].words()[w];
    }
    return missing[0];
}

} // namespace

void SearchIndex::remember(Result result)
{
    if (!m_options.reuseResults)
        return;
    if (m_results.size() >= kKeptResults)
        m_results.pop_back();
    m_results.push_front(std::move(result));
}

void SearchIndex::follow(const std::vector<int>& previousOf, const TKV& kv)
{
    if (m_count < 0)
        return; // no lines prepared: the next search prepares them from the catalogue
    if (m_preparedOf.empty()) {
        m_preparedOf.resize(size_t(m_count));
        std::iota(m_preparedOf.begin(), m_preparedOf.end(), 0);
    }
    std::vector<int> preparedOf(previousOf.size());
    for (size_t i = 0; i < previousOf.size(); ++i) {
        const int before = previousOf[i];
        if (before >= 0 && before < m_count) {
            preparedOf[i] = m_preparedOf[size_t(before)];
        } else {
            preparedOf[i] = -1 - int(m_changedLines.size());
            m_changedLines.push_back(preparedLines(kv[qsizetype(i)]));
        }
    }
    m_preparedOf = std::move(preparedOf);
    m_count = qsizetype(m_preparedOf.size());
}

RecordSet SearchIndex::find(const QByteArray& searchText)
{
    const SearchWords search = SplitSearchWords(searchText, true, true, true);
    const RecordSet prepared = findPrepared(search);
    if (m_preparedOf.empty())
        return prepared;
    // The prepared content answers for the records it holds; the others are checked on
    // their own lines.
    RecordSet found(int(m_count), false);
    const SearchMatcher matcher(search.words, search.synonymMarker);
    for (int i = 0; i < m_count; ++i) {
        const int at = m_preparedOf[size_t(i)];
        if (at >= 0 ? prepared.contains(at) : matcher.matches(m_changedLines[size_t(-1 - at)]))
            found.insert(i);
    }
    return found;
}

RecordSet SearchIndex::findPrepared(const SearchWords& search)
{
    const Content& c = content();
    for (auto it = m_results.begin(); it != m_results.end(); ++it) {
        if (it->marker == search.synonymMarker && it->words == search.words) {
            std::rotate(m_results.begin(), it, it + 1); // most recent first
            return m_results.front().records;
        }
    }
    std::vector<RecordSet> holders; // per word, the records that may hold it
    bool exact = true;
    for (const QByteArray& word : search.words) {
        bool exactly = false;
        holders.push_back(this->holders(word, &exactly));
        exact = exact && exactly;
    }
    RecordSet candidates = holdersOfEnough(holders, search.synonymMarker, c.count);
    if (exact) {
        remember(Result{search.words, search.synonymMarker, candidates, {}});
        return candidates;
    }
    if (search.synonymMarker == 0) {
        for (const Result& earlier : m_results) {
            if (earlier.marker == 0 && narrows(search.words, earlier.words))
                candidates.intersect(earlier.records);
        }
    }

    // Where an earlier search learnt the first place of a part of a word, the word
    // cannot start more than the part's offset in the word before it; where it learnt
    // that the lines lack the part, they lack the word. Each word takes the longest
    // such part.
    struct Hint {
        const std::vector<quint32>* places = nullptr;
        quint32 shift = 0;
    };
    std::vector<Hint> hints(size_t(search.words.size()));
    for (qsizetype j = 0; j < search.words.size(); ++j) {
        qsizetype longest = 0;
        for (const Result& earlier : m_results) {
            if (earlier.places.empty()) // listed by the indexes, no place learnt
                continue;
            for (qsizetype k = 0; k < earlier.words.size(); ++k) {
                const QByteArray& part = earlier.words[k];
                const qsizetype shift = search.words[j].indexOf(part);
                if (part.size() > longest && shift >= 0) {
                    longest = part.size();
                    hints[size_t(j)] = {&earlier.places[size_t(k)], quint32(shift)};
                }
            }
        }
    }

    // Every candidate is checked on its lines; ask for the next ones' lines early, as
    // they lie far apart in memory.
    std::vector<int> ids;
    ids.reserve(size_t(candidates.count()));
    candidates.forEach([&ids](int i) { ids.push_back(i); });
    const SearchMatcher matcher(search.words, search.synonymMarker);
    Result result{search.words, search.synonymMarker, RecordSet(candidates.size(), false),
                  std::vector<std::vector<quint32>>(
                      size_t(search.words.size()),
                      std::vector<quint32>(size_t(candidates.size()), kUnknownPlace))};
    // Checks records ids[from, to) into listed. (Sharing the checks with a second core
    // gained nothing measurable on a busy two-core machine, so they run here.)
    const auto check = [&](size_t from, size_t to, RecordSet& listed) {
        constexpr size_t kAhead = 8;
        for (size_t n = from; n < to; ++n) {
            if (n + kAhead < to) {
                const int next = ids[n + kAhead];
                qsizetype at = c.starts[size_t(next)];
                if (!hints.empty() && hints[0].places &&
                    (*hints[0].places)[size_t(next)] < kNotHeld)
                    at += (*hints[0].places)[size_t(next)];
                __builtin_prefetch(c.text.constData() + at);
            }
            const int i = ids[n];
            const auto learnt = [&hints, i](qsizetype j) {
                const Hint& h = hints[size_t(j)];
                return h.places ? (*h.places)[size_t(i)] : kUnknownPlace;
            };
            const auto absent = [&](qsizetype j) {
                return !holders[size_t(j)].contains(i) || learnt(j) == kNotHeld;
            };
            const auto start = [&](qsizetype j) {
                const quint32 place = learnt(j);
                const quint32 shift = hints[size_t(j)].shift;
                return place < kNotHeld && place > shift ? qsizetype(place - shift) : qsizetype(0);
            };
            const auto found = [&result, i](qsizetype j, qsizetype at) {
                result.places[size_t(j)][size_t(i)] = at < 0 ? kNotHeld : quint32(at);
            };
            if (matcher.matches(c.lines(i), absent, start, found))
                listed.insert(i);
        }
    };
    check(0, ids.size(), result.records);
    RecordSet records = result.records;
    remember(std::move(result));
    return records;
}

void SearchIndex::noteSortedByName(const TKV& kv)
{
    m_sortedRecords = kv.constData();
    m_sortedCount = kv.size();
}
