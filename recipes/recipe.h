// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/filelookup.h"
#include "platform/filestate.h"
#include "recipes/linelist.h"

#include <QByteArray>

#include <QByteArrayList>
#include <QList>
#include <QString>

#include <optional>

// The recipe record, the catalogue and the recipe types.
//
// Texts typed by the user are Windows-1252 byte strings (see platform/cp1252.h), so
// sorting and the comma and search rules work byte by byte. Paths are file-system
// names and are kept as QString: a file on disk whose name the code page cannot hold
// still loads, saves and is deleted as itself.

/// A line list: one entry per text line, no line breaks inside an entry.
using TSTRING = LineList;
/// A list of date-times (days since 30 December 1899, see platform/daycount.h).
using TTDATE = QList<double>;

/// The record's 100 spare texts. They are cleared by a reset and never filled, read or
/// written, so no storage is kept for them; every entry reads as empty.
class ReserveTexts {
public:
    static constexpr int size() { return 100; }
    QByteArray at(int) const { return {}; }
    void clear() {}
};

/// Recipe kinds a record can have; a record may have several.
enum RecipeTypeId {
    NoRecipeType = -1,
    NormalType = 0,
    DeluxeType = 1,
    BinderType = 2,
    MagazineType = 3,
    BookType = 4,
};

/// One recipe.
struct TKVG {
    qint32 Kind = 0;     ///< 0 normal, 1 deluxe
    QString FileName;    ///< bare file name, "Easy Chili Con Carne.vrez"
    QString FilePath;    ///< base folder + "prepared_recipes/" + FileName
    QString PictureFile; ///< full path of the picture; empty = none
    QByteArray Name;
    QByteArray Categories; ///< normalised comma list "Soups,Starters,"
    qint32 Difficulty = 0; ///< 1 to 5; -1 after a reset
    QByteArray PrepTime;
    QByteArray Devices; ///< comma list of device picture names
    QByteArray Servings;
    double LastCooked = 0;
    TTDATE CookedDates;
    TSTRING Ingredients;
    TSTRING Instructions;
    TSTRING Comments;
    QByteArray Binder;
    QByteArray Magazine;
    QByteArray Book;
    QByteArray Page;
    QByteArray Remark;
    TSTRING Quantities;
    TSTRING Units;
    TSTRING IngredientNames;
    TSTRING Descriptions;
    QString QuantitiesRtf;      ///< FilePath + ".004"
    QString UnitsRtf;           ///< FilePath + ".005"
    QString IngredientNamesRtf; ///< FilePath + ".006"
    QString InstructionsRtf;    ///< FilePath + ".003"
    QString DescriptionsRtf;    ///< FilePath + ".007"
    QString IngredientsRtf;     ///< FilePath + ".002"
    QString CommentsRtf;        ///< FilePath + ".001"
    ReserveTexts Reserve;
    qint32 ListIndex = 0; ///< list row; -1 none; -2 excluded by a filter
    /// The recipe file as this record was read from it or last saved to it; none for a
    /// record that has no file yet. Tells whether the file changed on disk since.
    std::optional<FileState> Stored;

    /// True when one of the four deluxe columns has a line.
    bool hasDeluxeLines() const;
    /// True when the record has the given recipe type.
    bool hasType(int type) const;
};

/// The catalogue: every recipe of the recipe folder, in list order after a fill.
using TKV = QList<TKVG>;

/// The process-wide catalogue with the index of the recipe being edited or printed.
struct Catalogue {
    TKV recipes;
    qint32 CurrentRecipe = -1;

    /// Empties the catalogue; CurrentRecipe becomes -1.
    void reset();
    /// Appends a reset record and makes it the current recipe; returns its index.
    int newRecipe();
};

/// First recipe type of the record (0 when it has none); -1 for an invalid index.
int RecipeType(const TKV& kv, int index);
/// First type after RecipeType that the record has; -1 when none or invalid.
int SecondRecipeType(const TKV& kv, int index);
/// First type after the first two that the record has; -1 when none or invalid.
int ThirdRecipeType(const TKV& kv, int index);

/// Clears the record: kind 0, texts and lists empty, difficulty -1, cooking date now,
/// ListIndex -1. Does nothing for an invalid index.
void ResetRecipe(TKV& kv, int index);

/// Index of the record shown in list row `row`, or -1 when no record has that row.
int IndexOfListRow(const TKV& kv, int row);


/// Sorts by Name in byte order; records with equal names keep their order.
void SortByName(TKV& kv);
