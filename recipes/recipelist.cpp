#include "recipes/recipelist.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/textrules.h"

#include <QHash>
#include <QLocale>

#include <array>
#include <cmath>
#include <cstring>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

QByteArray shortDate(double days)
{
    return cp1252::fromUnicode(
        QLocale().toString(dateTimeFromDayCount(days).date(), QLocale::ShortFormat));
}

bool nameOrderIsSorted(const TKV& kv)
{
    return std::is_sorted(kv.cbegin(), kv.cend(),
                          [](const TKVG& a, const TKVG& b) { return a.Name < b.Name; });
}

bool keptByCategory(const TKV& kv, int i, const ListFilter& filter)
{
    switch (filter.categoryEntry) {
    case AllTypes:
        return true;
    case NormalRecipes:
        return RecipeType(kv, i) == NormalType;
    case DeluxeRecipes:
        return RecipeType(kv, i) == DeluxeType;
    case PrintedRecipes:
        return RecipeType(kv, i) >= BinderType;
    default: {
        const QByteArray& categories = kv[i].Categories;
        const QByteArray before = ',' + filter.categoryName;
        const QByteArray after = filter.categoryName + ',';
        return categories.contains(before) || categories.contains(after);
    }
    }
}

bool keptBySource(const TKVG& r, const ListFilter& filter)
{
    return filter.sourceEntry <= 0 || r.Binder == filter.sourceName ||
           r.Magazine == filter.sourceName || r.Book == filter.sourceName;
}

} // namespace

namespace {

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

void appendPrepared(QByteArray& out, QByteArrayView line)
{
    static const PrepareTable table;
    const qsizetype start = out.size();
    out.resize(start + 1 + 2 * line.size()); // a byte becomes at most two
    char* p = out.data() + start;
    if (start > 0)
        *p++ = '\n';
    for (char c : line) {
        const auto b = static_cast<unsigned char>(c);
        *p++ = table.to[b][0];
        if (table.length[b] == 2)
            *p++ = table.to[b][1];
    }
    out.truncate(p - out.constData());
}

// Short dates of the day counts seen in one rebuild; most records share few dates.
class DateTexts {
public:
    const QByteArray& operator()(double days)
    {
        const qint64 day = qint64(std::floor(days));
        auto it = m_texts.constFind(day);
        if (it == m_texts.constEnd())
            it = m_texts.insert(day, shortDate(days));
        return it.value();
    }

private:
    QHash<qint64, QByteArray> m_texts;
};

} // namespace

void SearchIndex::clear()
{
    m_lines.clear();
    m_built = false;
    m_sortedRecords = nullptr;
    m_sortedCount = -1;
}

void SearchIndex::noteSortedByName(const TKV& kv)
{
    m_sortedRecords = kv.constData();
    m_sortedCount = kv.size();
}

void SearchIndex::rebuild(const TKV& kv)
{
    m_built = true;
    m_lines.clear();
    m_lines.reserve(kv.size());
    DateTexts dates;
    for (const TKVG& r : kv) {
        QByteArray prepared;
        prepared.reserve(2048);
        appendPrepared(prepared, r.Name);
        appendPrepared(prepared, dates(r.LastCooked));
        for (double date : r.CookedDates)
            appendPrepared(prepared, dates(date));
        if (r.Difficulty >= 1 && r.Difficulty <= 5)
            appendPrepared(prepared, QByteArray(r.Difficulty, '*'));
        for (const QByteArray* text : {&r.Servings, &r.PrepTime, &r.Devices, &r.Categories})
            appendPrepared(prepared, *text);
        for (const TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments})
            for (QByteArrayView line : *list)
                appendPrepared(prepared, line);
        for (const QByteArray* text : {&r.Binder, &r.Magazine, &r.Page, &r.Remark})
            appendPrepared(prepared, *text);
        for (const TSTRING* list : {&r.IngredientNames, &r.Units, &r.Quantities, &r.Descriptions})
            for (QByteArrayView line : *list)
                appendPrepared(prepared, line);
        prepared.squeeze();
        m_lines << prepared;
    }
}

struct SearchMatcher::Word {
    QByteArray text;
    explicit Word(const QByteArray& word) : text(word) {}
    bool foundIn(const QByteArray& lines) const
    {
        return ::memmem(lines.constData(), size_t(lines.size()), text.constData(),
                        size_t(text.size())) != nullptr;
    }
};

SearchMatcher::SearchMatcher(const QByteArrayList& words, int synonymMarker)
    : m_marker(synonymMarker)
{
    m_words.reserve(size_t(words.size()));
    for (const QByteArray& word : words) {
        // Lines are joined with "\n": a word holding one could match across two lines,
        // and no line holds one, so such a word is never found.
        if (word.contains('\n'))
            ++m_neverFound;
        else
            m_words.emplace_back(word);
    }
}

SearchMatcher::~SearchMatcher() = default;

bool SearchMatcher::matches(const QByteArray& prepared) const
{
    int missing = m_neverFound;
    if (missing > m_marker)
        return false;
    for (const Word& word : m_words) {
        if (!word.foundIn(prepared) && ++missing > m_marker)
            return false;
    }
    return true;
}

QList<int> FilterRecipeRows(TKV& kv, SearchIndex& index, const ListFilter& filter)
{
    // Checking the order of every name on each keystroke cost more than the search.
    const bool reorder = !index.knowsSortedByName(kv) && !nameOrderIsSorted(kv);
    if (reorder)
        SortByName(kv);
    index.noteSortedByName(kv);
    const bool searching = !filter.searchText.isEmpty();
    if (searching && (reorder || !index.fits(kv)))
        index.rebuild(kv);

    const SearchWords search = SplitSearchWords(filter.searchText, true, true, true);
    const SearchMatcher matcher(search.words, search.synonymMarker);
    QList<int> rows;
    rows.reserve(kv.size());
    TKVG* records = kv.data(); // one detach check for the whole loop
    const int count = int(kv.size());
    // Records are large, so each ListIndex is in a cache line of its own: ask for the
    // lines a little ahead, or writing them costs more than the search itself.
    constexpr int kAhead = 32;
    for (int i = 0; i < count; ++i) {
        if (i + kAhead < count)
            __builtin_prefetch(&records[i + kAhead].ListIndex, 1);
        TKVG& r = records[i];
        const bool kept = (filter.categoryEntry == AllTypes || keptByCategory(kv, i, filter)) &&
                          (filter.difficultyEntry <= 0 || r.Difficulty == filter.difficultyEntry) &&
                          keptBySource(r, filter) &&
                          (!searching || matcher.matches(index.lines(i)));
        if (kept) {
            rows.append(i);
            r.ListIndex = int(rows.size());
        } else {
            r.ListIndex = -2;
        }
    }
    return rows;
}

QString iconHint(int icon)
{
    static const char* const kHints[] = {
        "edit new recipe information",    "normal recipe (digital)",     "deluxe recipe (digital)",
        "no digital recipe: ring binder", "no digital recipe: magazine", "no digital recipe: book"};
    return icon >= 0 && icon < 6 ? QLatin1String(kHints[icon]) : QString();
}

QStringList categoryEntries(TKV& kv)
{
    QStringList entries{QStringLiteral("all types of recipe"), QStringLiteral("normal recipes"),
                        QStringLiteral("deluxe recipes"), QStringLiteral("printed recipes")};
    for (const QByteArray& name : CollectCategories(kv, -1))
        entries << cp1252::toUnicode(name);
    return entries;
}

QStringList difficultyEntries()
{
    return {QStringLiteral("all types of difficulty"),
            QStringLiteral("very easy"),
            QStringLiteral("easy"),
            QStringLiteral("medium"),
            QStringLiteral("difficult"),
            QStringLiteral("tough")};
}

QStringList sourceEntries(const TKV& kv)
{
    QStringList entries{QStringLiteral("all types of printed matter")};
    for (const QByteArray& name : CollectSources(kv, -1))
        entries << cp1252::toUnicode(name);
    return entries;
}

bool filterFromEntries(TKV& kv, const QString& category, int difficulty, const QString& source,
                       ListFilter* filter, QString* error)
{
    const QStringList categories = categoryEntries(kv);
    const QStringList sources = sourceEntries(kv);
    const qsizetype c = category.isEmpty() ? 0 : categories.indexOf(category);
    const qsizetype s = source.isEmpty() ? 0 : sources.indexOf(source);
    if (c < 0) {
        *error = QStringLiteral("No category entry \"%1\"").arg(category);
        return false;
    }
    if (difficulty < 0 || difficulty > 5) {
        *error = QStringLiteral("Difficulty entry %1 is not between 0 and 5").arg(difficulty);
        return false;
    }
    if (s < 0) {
        *error = QStringLiteral("No printed-matter entry \"%1\"").arg(source);
        return false;
    }
    filter->categoryEntry = int(c);
    filter->categoryName = c >= 4 ? cp1252::fromUnicode(categories[c]) : QByteArray();
    filter->difficultyEntry = difficulty;
    filter->sourceEntry = int(s);
    filter->sourceName = s > 0 ? cp1252::fromUnicode(sources[s]) : QByteArray();
    return true;
}

QString cookingDateText(const TKVG& recipe)
{
    return QLocale().toString(dateTimeFromDayCount(recipe.LastCooked).date(), QLocale::ShortFormat);
}

QString difficultyStars(const TKVG& recipe)
{
    // Shared texts for the usual difficulties: the list makes one for every row.
    static const QString kStars[] = {QString(),
                                     QStringLiteral("*"),
                                     QStringLiteral("**"),
                                     QStringLiteral("***"),
                                     QStringLiteral("****"),
                                     QStringLiteral("*****")};
    const int count = qMax(0, recipe.Difficulty);
    return count < 6 ? kStars[count] : QString(count, QLatin1Char('*'));
}
