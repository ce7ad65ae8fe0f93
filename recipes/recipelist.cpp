#include "recipes/recipelist.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/textrules.h"

#include <QLocale>

#include <algorithm>
#include <functional>

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

QByteArrayList SearchIndex::searchLines(const TKVG& r)
{
    QByteArrayList lines{r.Name, shortDate(r.LastCooked)};
    for (double date : r.CookedDates)
        lines << shortDate(date);
    if (r.Difficulty >= 1 && r.Difficulty <= 5)
        lines << QByteArray(r.Difficulty, '*');
    lines << r.Servings << r.PrepTime << r.Devices << r.Categories;
    for (const TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments})
        for (QByteArrayView line : *list)
            lines << line.toByteArray();
    lines << r.Binder << r.Magazine << r.Page << r.Remark;
    for (const TSTRING* list : {&r.IngredientNames, &r.Units, &r.Quantities, &r.Descriptions})
        for (QByteArrayView line : *list)
            lines << line.toByteArray();
    return lines;
}

void SearchIndex::rebuild(const TKV& kv)
{
    m_lines.clear();
    m_lines.reserve(kv.size());
    for (const TKVG& r : kv)
        m_lines << cp1252::toUpper(FoldAccents(searchLines(r).join('\n')));
}

bool matchesSearch(const QByteArray& prepared, const QByteArrayList& words, int marker)
{
    qsizetype found = 0;
    for (const QByteArray& word : words) {
        // Lines are joined with "\n"; a word containing one could match across lines.
        if (!word.contains('\n') && prepared.contains(word))
            ++found;
    }
    const qsizetype n = words.size();
    return marker == 0 ? found == n : found >= n - marker;
}

QList<int> FilterRecipeRows(TKV& kv, SearchIndex& index, const ListFilter& filter)
{
    const bool reorder = kv.size() > 1 && !nameOrderIsSorted(kv);
    if (reorder)
        SortByName(kv);
    if (reorder || index.size() != kv.size())
        index.rebuild(kv);
    for (TKVG& r : kv)
        r.ListIndex = -1;

    const SearchWords search = SplitSearchWords(filter.searchText, true, true, true);
    const bool searching = !filter.searchText.isEmpty();
    QList<int> rows;
    for (int i = 0; i < kv.size(); ++i) {
        TKVG& r = kv[i];
        const bool kept =
            keptByCategory(kv, i, filter) &&
            (!searching || matchesSearch(index.lines(i), search.words, search.synonymMarker)) &&
            (filter.difficultyEntry <= 0 || r.Difficulty == filter.difficultyEntry) &&
            keptBySource(r, filter);
        if (!kept) {
            r.ListIndex = -2;
            continue;
        }
        rows << i;
        r.ListIndex = int(rows.size());
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
    return QString(qMax(0, recipe.Difficulty), QLatin1Char('*'));
}
