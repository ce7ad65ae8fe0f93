#pragma once

#include "recipes/recipe.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

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

/// The search lines of every record, folded and upper-cased once so that a keystroke's
/// fill only scans them, and what is known of the catalogue's order. A record's lines, in
/// search order: Name, the cooking date and every further cooking date as short dates,
/// the difficulty stars, Servings, PrepTime, Devices, Categories, the lines of
/// Ingredients, Instructions and Comments, Binder, Magazine, Page, Remark, the lines of
/// IngredientNames, Units, Quantities and Descriptions (Book is not searched).
class SearchIndex {
public:
    /// Prepares the lines of every record of kv, which is in list order.
    void rebuild(const TKV& kv);
    /// Forgets the lines and the order: call after every reload and whenever names or
    /// the order of the catalogue changed. The next search prepares the lines again.
    void clear();
    /// True when the lines were prepared for kv.
    bool fits(const TKV& kv) const { return m_built && m_lines.size() == kv.size(); }
    /// The prepared lines of record index, joined with "\n".
    const QByteArray& lines(int index) const { return m_lines.at(index); }
    qsizetype size() const { return m_lines.size(); }

    /// Remembers that kv is sorted by name, until clear() or until kv is resized or
    /// moved, so that a fill need not check every name again.
    void noteSortedByName(const TKV& kv);
    bool knowsSortedByName(const TKV& kv) const
    {
        return m_sortedRecords == kv.constData() && m_sortedCount == kv.size();
    }

private:
    QList<QByteArray> m_lines;
    bool m_built = false;
    const TKVG* m_sortedRecords = nullptr;
    qsizetype m_sortedCount = -1;
};

/// Applies the filters: sorts the catalogue by name unless the index knows it sorted,
/// sets ListIndex of every record (its row, or -2 when excluded) and returns the
/// catalogue index of each recipe row in row order (row r is at position r - 1). A
/// search prepares the index's lines when the sort changed the order or they do not fit
/// the catalogue; otherwise they are reused.
QList<int> FilterRecipeRows(TKV& kv, SearchIndex& index, const ListFilter& filter);

/// Decides whether prepared search lines hold the words of a search text as the list
/// requires: every word, or with the sauce spellings all but the two added ones. The
/// words are compiled once per fill and then matched against every record.
class SearchMatcher {
public:
    SearchMatcher(const QByteArrayList& words, int synonymMarker);
    ~SearchMatcher();
    bool matches(const QByteArray& preparedLines) const;

private:
    struct Word;
    std::vector<Word> m_words;
    int m_neverFound = 0; // words that no line can hold
    int m_marker = 0;
};

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
