// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// Recipe files: "prepared_recipes/*.vrez", one value per line, Windows-1252, CR LF.

inline constexpr char kRecipeHeader[] = "[MENDRAKE_TARVOLIN 2.00]";
inline constexpr char kOldRecipeHeader[] = "[MENDRAKE_TARVOLIN 1.5]";

/// The recipe folder below a base folder (which ends with a separator).
QString recipeFolder(const QString& baseFolder);

/// A file that could not be read or written, with the line where reading stopped
/// (0 when the whole file was concerned).
struct FileProblem {
    QString file;
    int line = 0;
    QString message;
    QString toString() const;
};

/// The bytes of a recipe file in the current format for the record as it stands.
QByteArray recipeFileBytes(const TKVG& recipe);

/// Sets Kind from the deluxe columns: 1 when only they hold lines, 0 when they are all
/// empty, otherwise unchanged.
void normaliseKind(TKVG& recipe);

/// Writes the record at index to its FilePath, replacing the file atomically.
/// Returns 0 when written, -1 for an invalid index, -2 when the file could not be
/// written (error says why; the old file is untouched).
int WriteRecipeFile(TKV& kv, int index, QString* error = nullptr);

enum class StoredNames { Keep, Skip };

/// Parses the bytes of a current-format file into recipe, without the folder-dependent
/// rules. Returns false when the first line is not the header. A malformed value sets
/// problem (line and message) and also returns false. With StoredNames::Skip the stored
/// file name and path lines are passed over (the catalogue takes them from the folder).
bool parseRecipeFile(const QByteArray& bytes, TKVG& recipe, FileProblem* problem,
                     StoredNames names = StoredNames::Keep);

/// Replaces kv with the records of every current-format file in the recipe folder, in
/// the order the folder lists them, applying the reading rules (file name from the
/// folder, sample pictures, difficulty range, device pictures, zero date), each record's
/// Stored being the state of the bytes it was read from. A file that cannot be read or
/// is malformed is left out and reported in problems. With OldFiles::Convert, an
/// old-format file is converted in place as it is met (the start-up conversion,
/// without a second read of every file); otherwise it is skipped.
enum class OldFiles { Skip, Convert };
void ReadCatalogue(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems = nullptr,
                   OldFiles old = OldFiles::Skip);

/// Visits the records of the recipe folder one at a time in the catalogue's order
/// after a reload and sort (by name, equal names in folder order), converting old
/// files as start-up does, with the same reading rules and problems as ReadCatalogue.
/// Only the names are held between the visits, so a whole collection never is.
void ForEachRecipeByName(const QString& baseFolder, QList<FileProblem>* problems,
                         const std::function<void(const TKVG&)>& visit);

/// How reading one file of the recipe folder went.
enum class RecipeFileRead {
    Read,      ///< the record holds the recipe
    Missing,   ///< there is no file of that name
    NotRecipe, ///< the file is not a current-format recipe file (an old one is not converted)
    Problem,   ///< it cannot be read or is malformed; the problem says why
};

/// Reads single files of the recipe folder below a base folder with the reading rules of
/// ReadCatalogue, so that a record read here equals the one a reload gives, Stored
/// included. Meant for the files that others changed: the folder is not listed.
class RecipeFileReader {
public:
    explicit RecipeFileReader(const QString& baseFolder);
    ~RecipeFileReader();
    RecipeFileReader(const RecipeFileReader&) = delete;
    RecipeFileReader& operator=(const RecipeFileReader&) = delete;

    /// Reads the file name (a name in the recipe folder) into record.
    RecipeFileRead read(const QString& name, TKVG* record, FileProblem* problem);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
