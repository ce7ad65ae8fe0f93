#pragma once

#include "editor/recipeform.h"
#include "recipes/recipe.h"

#include <QString>

// Saving the current recipe: the form is copied into the record, the seven texts go to
// their side files and the record to its recipe file. Either every file is written and
// the record updated, or nothing changes: an error puts back the files already
// replaced or deleted and leaves the record as it was.

enum class SaveStatus {
    Saved,
    NoCurrentRecipe, ///< CurrentRecipe names no record; nothing done
    NameMissing,     ///< the name is empty: message 1 "Please enter a name for the recipe!"
    NameExists,      ///< "save as" onto an existing file: ask message 19, then call
                     ///< again with overwrite set
    FileError,       ///< a file could not be written or deleted; message names it
};

struct SaveResult {
    SaveStatus status = SaveStatus::Saved;
    QString message; ///< for FileError: what failed, naming the file
    bool ok() const { return status == SaveStatus::Saved; }
};

/// "Save recipe" (also the save part of "Print recipe" and of closing the editor) for
/// the record at catalogue.CurrentRecipe. A recipe without a file name gets a free one
/// in the recipe folder below BaseFolder(); one with a file name keeps it.
SaveResult SaveRecipe(Catalogue& catalogue, const RecipeForm& form);

/// "Save recipe as": the record takes the file name made from the form's name and is
/// saved there. When that file exists (in any case of its letters) and overwrite is
/// false, returns NameExists and changes nothing; with overwrite the existing file is
/// replaced and keeps its name.
SaveResult SaveRecipeAs(Catalogue& catalogue, const RecipeForm& form, bool overwrite);

/// The record as saving the form would leave it, before any file is written: plain
/// fields and texts copied, categories normalised, side-file paths set for texts with
/// lines and emptied for the others. FileName and FilePath must be set already.
void fillRecipeFromForm(TKVG& recipe, const RecipeForm& form);
