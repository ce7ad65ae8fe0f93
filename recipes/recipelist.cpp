// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipelist.h"

#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/textrules.h"

#include <QLocale>

#include <algorithm>

namespace {

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

    const RecordSet found = searching ? index.find(filter.searchText) : RecordSet();
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
                          keptBySource(r, filter) && (!searching || found.contains(i));
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
    return difficultyStars(recipe.Difficulty);
}

QString difficultyStars(int difficulty)
{
    // Shared texts for the usual difficulties: the list makes one for every row.
    static const QString kStars[] = {QString(),
                                     QStringLiteral("*"),
                                     QStringLiteral("**"),
                                     QStringLiteral("***"),
                                     QStringLiteral("****"),
                                     QStringLiteral("*****")};
    const int count = qMax(0, difficulty);
    return count < 6 ? kStars[count] : QString(count, QLatin1Char('*'));
}
