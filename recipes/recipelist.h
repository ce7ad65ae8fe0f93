// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/searchindex.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The rows of the main recipe list: the catalogue narrowed by the category, search,
// difficulty and printed-matter filters. Row 0 is always "Create new recipe"; recipe
// rows start at 1 and map back to records through ListIndex.

/// Category box entries before the category names.
enum CategoryEntry { AllTypes = 0, NormalRecipes = 1, DeluxeRecipes = 2, PrintedRecipes = 3 };

/// What the filter boxes hold.
struct ListFilter {
    int categoryEntry = AllTypes;
    QByteArray categoryName; ///< the selected name when categoryEntry >= 4
    QByteArray searchText;   ///< Windows-1252
    int difficultyEntry = 0; ///< 0 all, 1 to 5 a difficulty
    int sourceEntry = 0;     ///< 0 all, otherwise sourceName is the selected source
    QByteArray sourceName;
};

/// Applies the filters: sorts the catalogue by name unless the index knows it sorted,
/// sets ListIndex of every record (its row, or -2 when excluded) and returns the
/// catalogue index of each recipe row in row order (row r is at position r - 1). A
/// search prepares the index's lines when the sort changed the order or they do not fit
/// the catalogue; otherwise they are reused, and the index finds the records the search
/// text lists.
QList<int> FilterRecipeRows(TKV& kv, SearchIndex& index, const ListFilter& filter);

/// Caption of row 0, which holds no recipe.
inline constexpr char kNewRecipeRow[] = "Create new recipe";

/// Hint of a list icon (0 "edit new recipe information", 1 to 5 the recipe types).
QString iconHint(int icon);

/// Entries of the three filter boxes after a reload, in order. The category entries
/// normalise the records' categories in place.
QStringList categoryEntries(TKV& kv);
QStringList difficultyEntries();
QStringList sourceEntries(const TKV& kv);

/// A filter from the texts of the box entries, as the command line names them. Returns
/// false with error when an entry does not exist.
bool filterFromEntries(TKV& kv, const QString& category, int difficulty, const QString& source,
                       ListFilter* filter, QString* error);

/// The list columns of a record: cooking date in the short date format and the
/// difficulty stars.
QString cookingDateText(const TKVG& recipe);
QString difficultyStars(const TKVG& recipe);
QString difficultyStars(int difficulty);
