// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "editor/recipeform.h"
#include "platform/filestate.h"
#include "recipes/recipe.h"

#include <QString>

#include <array>

// Saving the current recipe: the form is copied into the record, the seven texts go to
// their side files and the record to its recipe file. Either every file is written and
// the record updated, or nothing changes: an error puts back the files already
// replaced or deleted and leaves the record as it was. Every file is read before the
// first is written, so a save that finds them changed outside writes nothing.

/// The files of the recipe open in the editor as it last read or saved them: its
/// recipe file and the seven side files at the paths a save writes (a missing file is a
/// state too). A save compares them with the disk, so that a change made outside the
/// program since is never overwritten unasked.
struct RecipeFilesState {
    FileState recipe;
    std::array<FileState, 7> sideFiles; ///< in the order of recipeTextFields()
    bool operator==(const RecipeFilesState& other) const = default;
};

/// The state the editor starts from when it opens record: the recipe file as the record
/// was read from it (as it is now for a record that holds no state) and the side files
/// as they are now. Taken before the side files are read into the form, so a change
/// between the two makes the save ask rather than pass unseen. A file that cannot be
/// read is left with a state no file has; saving then reports it.
RecipeFilesState openedFilesState(const TKVG& record);

enum class SaveStatus {
    Saved,
    NoCurrentRecipe, ///< CurrentRecipe names no record; nothing done
    NameMissing,     ///< the name is empty: message 1 "Please enter a name for the recipe!"
    NameExists,      ///< "save as" onto an existing file: ask message 19, then call
                     ///< again with overwrite set
    ChangedOutside,  ///< a file of the recipe changed on disk since the known state: ask
                     ///< message 27, then call again with the answer; nothing written
    DeletedOutside,  ///< the recipe file was deleted on disk since the known state: ask
                     ///< message 28, then call again with Recreate; nothing written
    FileError,       ///< a file could not be written or deleted; message names it
};

struct SaveResult {
    SaveStatus status = SaveStatus::Saved;
    QString message;  ///< for FileError: what failed, naming the file
    QString copyName; ///< after a save as a copy: the name the copy was saved under
    bool ok() const { return status == SaveStatus::Saved; }
};

/// What a save does when files of the recipe changed on disk since the known state.
enum class OutsideChanges {
    Refuse,    ///< write nothing: ChangedOutside or DeletedOutside
    Overwrite, ///< "Save anyway": replace the files as they are now
    Copy,      ///< "Save as a copy": the recipe goes to a new file under a free name and
               ///< leaves the files on disk as they are
    Recreate,  ///< after DeletedOutside: the recipe file is written anew under its own
               ///< name, never over a file that took the name meanwhile (then as a copy)
};

/// "Save recipe" (also the save part of "Print recipe" and of closing the editor) for
/// the record at catalogue.CurrentRecipe. A recipe without a file name gets a free one
/// in the recipe folder below BaseFolder(); one with a file name keeps it.
///
/// With known, the files are first compared with it (by content: a file rewritten with
/// the same bytes is unchanged) and outside decides what happens when they differ.
/// OutsideChanges::Copy saves a copy whatever the files hold: a new record under a free
/// file name made from the form's name, its name taking the number that file name
/// added ("Soup" saved as "Soup_417.vrez" is named "Soup_417"), so the list tells it
/// from the recipe it was copied from; the current record becomes the copy. After a
/// save, known is the state of the files just written.
SaveResult SaveRecipe(Catalogue& catalogue, const RecipeForm& form,
                      RecipeFilesState* known = nullptr,
                      OutsideChanges outside = OutsideChanges::Refuse);

/// "Save recipe as": the record takes the file name made from the form's name and is
/// saved there. When that file exists (in any case of its letters) and overwrite is
/// false, returns NameExists and changes nothing; with overwrite the existing file is
/// replaced and keeps its name. When that file is the recipe's own, known and outside
/// work as for SaveRecipe (Copy is not taken here: call SaveRecipe for it).
SaveResult SaveRecipeAs(Catalogue& catalogue, const RecipeForm& form, bool overwrite,
                        RecipeFilesState* known = nullptr,
                        OutsideChanges outside = OutsideChanges::Refuse);

/// The record as saving the form would leave it, before any file is written: plain
/// fields and texts copied, categories normalised, side-file paths set for texts with
/// lines and emptied for the others. FileName and FilePath must be set already.
void fillRecipeFromForm(TKVG& recipe, const RecipeForm& form);
