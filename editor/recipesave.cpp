// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/recipesave.h"

#include "common/session.h"
#include "editor/recipefiles.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/safefile.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"
#include "recipes/textrules.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

// New names tried for one new recipe before the save gives up (each failed try means
// another program took the name between the look and the write).
constexpr int kClaimAttempts = 100;

// The state of a file that is there but could not be read: no file's content has it.
constexpr FileState kUnreadable{true, -1, 0};

QByteArray ansi(const QString& text)
{
    return cp1252::fromUnicode(text);
}

// A file as it was before the save, to be put back when the save fails.
struct FileSnapshot {
    QString path;
    std::optional<QByteArray> bytes; // empty when the file did not exist

    void restore() const
    {
        if (bytes)
            writeFileAtomically(path, *bytes);
        else
            removeFile(path);
    }

    FileState state() const { return bytes ? FileState::of(*bytes) : FileState::missing(); }
};

// The files of one save, remembered in the order they are changed.
class SaveTransaction {
public:
    // Remembers the file before it is changed; false (with error) when it exists but
    // cannot be read, so it could not be put back.
    bool remember(const QString& path, QString* error)
    {
        FileSnapshot snapshot{path, std::nullopt};
        if (QFileInfo::exists(path)) {
            QByteArray bytes;
            if (!readWholeFile(path, &bytes, error))
                return false;
            snapshot.bytes = bytes;
        }
        m_snapshots.append(snapshot);
        return true;
    }

    const QList<FileSnapshot>& snapshots() const { return m_snapshots; }

    // The next remembered file is about to be changed.
    void changing() { ++m_changing; }

    // Puts back the files that were about to be changed, the last first; the others
    // were not touched.
    void rollback() const
    {
        for (qsizetype i = m_changing; i-- > 0;)
            m_snapshots.at(i).restore();
    }

private:
    QList<FileSnapshot> m_snapshots;
    qsizetype m_changing = 0;
};

// The files a save writes, in the order it writes them: the seven side files, then
// the recipe file.
QStringList savedPaths(const QString& recipeFilePath)
{
    QStringList paths;
    for (const RecipeTextField& field : recipeTextFields())
        paths << sideFilePath(recipeFilePath, field);
    paths << recipeFilePath;
    return paths;
}

// The files as the transaction found them before the save.
RecipeFilesState stateBefore(const SaveTransaction& transaction)
{
    const QList<FileSnapshot>& files = transaction.snapshots();
    RecipeFilesState state;
    for (size_t i = 0; i < state.sideFiles.size(); ++i)
        state.sideFiles[i] = files.at(qsizetype(i)).state();
    state.recipe = files.last().state();
    return state;
}

enum class Stored { Written, ChangedOutside, DeletedOutside, Failed };

// Writes every file of the recipe; on failure puts back what was already changed.
// Every file is read first; with expected, nothing is written when they differ from it.
// written receives the state of the files as the save left them.
Stored storeRecipeFiles(TKVG& recipe, const RecipeForm& form, const RecipeFilesState* expected,
                        RecipeFilesState* written, QString* error)
{
    SaveTransaction transaction;
    const QStringList paths = savedPaths(recipe.FilePath);
    for (const QString& path : paths) {
        if (!transaction.remember(path, error))
            return Stored::Failed;
    }
    if (expected) {
        const RecipeFilesState found = stateBefore(transaction);
        if (expected->recipe.exists && !found.recipe.exists)
            return Stored::DeletedOutside;
        if (found != *expected)
            return Stored::ChangedOutside;
    }
    RecipeFilesState state;
    bool ok = true;
    for (size_t i = 0; ok && i < state.sideFiles.size(); ++i) {
        transaction.changing();
        const rich::RichDocument& doc = form.texts[i];
        const QString& path = paths.at(qsizetype(i));
        if (doc.isEmpty()) {
            ok = removeRecipeFile(path, error);
            state.sideFiles[i] = FileState::missing();
        } else {
            const QByteArray bytes = rich::writeRtf(doc);
            ok = writeFileAtomically(path, bytes, error);
            state.sideFiles[i] = FileState::of(bytes);
        }
    }
    if (ok) {
        transaction.changing();
        TKV single{recipe};
        ok = WriteRecipeFile(single, 0, error) == 0;
        recipe = single.first();
        state.recipe = FileState::of(recipeFileBytes(recipe)); // the bytes just written
    }
    if (!ok) {
        transaction.rollback();
        return Stored::Failed;
    }
    recipe.Stored = state.recipe;
    *written = state;
    return Stored::Written;
}

// Saves recipe to the files its FilePath names and makes it the current record; with
// expected, only when the files are as it says. known receives the saved state.
SaveResult saveRecord(Catalogue& catalogue, TKVG recipe, const RecipeForm& form,
                      const RecipeFilesState* expected, RecipeFilesState* known)
{
    fillRecipeFromForm(recipe, form);
    QString error;
    RecipeFilesState written;
    switch (storeRecipeFiles(recipe, form, expected, &written, &error)) {
    case Stored::ChangedOutside:
        return {SaveStatus::ChangedOutside, {}, {}};
    case Stored::DeletedOutside:
        return {SaveStatus::DeletedOutside, {}, {}};
    case Stored::Failed:
        return {SaveStatus::FileError, error, {}};
    case Stored::Written:
        break;
    }
    catalogue.recipes[catalogue.CurrentRecipe] = recipe;
    if (known)
        *known = written;
    return {};
}

// The name of a copy saved as fileName: the typed name with what the free file name
// added to the name's own file name ("_417" in "Soup_417.vrez" for "Soup").
QString copyName(const QString& typed, const QString& fileName)
{
    const QString own = recipeFileNameFor(ansi(typed));
    const qsizetype stem = own.size() - qsizetype(sizeof(".vrez") - 1);
    return typed + fileName.mid(stem, fileName.size() - own.size());
}

// How a recipe that goes to a new file is named.
enum class NewFile {
    Typed,   ///< a new recipe: a free file name, the name as typed
    Copy,    ///< a copy: a free file name, the name with the number the file name added
    OwnName, ///< a recipe deleted outside: its own file name while free, else as a copy
};

SaveResult saveToNewFile(Catalogue& catalogue, TKVG recipe, const RecipeForm& typed, NewFile kind,
                         RecipeFilesState* known)
{
    // Another program (an import, a second window) may take a free name between the
    // look and the write. The name is claimed by writing the recipe file without
    // replacing anything, and a name taken meanwhile passes to the next.
    const QString folder = recipeFolder(BaseFolder());
    RecipeForm form = typed;
    for (int attempt = 0;; ++attempt) {
        if (kind == NewFile::OwnName && attempt == 0) {
            // recipe keeps its file name and path
        } else {
            const QString fileName =
                attempt < kClaimAttempts ? FreeRecipeFileName(folder, ansi(typed.name)) : QString();
            if (fileName.isEmpty()) {
                return {SaveStatus::FileError,
                        QStringLiteral("No free file name for the recipe in \"%1\"")
                            .arg(QDir::toNativeSeparators(folder)),
                        {}};
            }
            recipe.FileName = fileName;
            recipe.FilePath = folder + fileName;
            if (kind != NewFile::Typed)
                form.name = copyName(typed.name, fileName);
        }
        fillRecipeFromForm(recipe, form);
        QString error;
        const WriteResult claim =
            writeNewFileAtomically(recipe.FilePath, recipeFileBytes(recipe), &error);
        if (claim == WriteResult::Failed)
            return {SaveStatus::FileError, error, {}};
        if (claim == WriteResult::Written)
            break;
    }
    SaveResult result = saveRecord(catalogue, recipe, form, nullptr, known);
    if (!result.ok())
        removeFile(recipe.FilePath); // the claim of a save that did not happen
    else if (form.name != typed.name)
        result.copyName = form.name;
    return result;
}

// Saves the record over the files it was opened from (its own FilePath).
SaveResult saveOverOwnFiles(Catalogue& catalogue, const TKVG& recipe, const RecipeForm& form,
                            RecipeFilesState* known, OutsideChanges outside)
{
    if (outside == OutsideChanges::Copy)
        return saveToNewFile(catalogue, recipe, form, NewFile::Copy, known);
    if (outside == OutsideChanges::Recreate)
        return saveToNewFile(catalogue, recipe, form, NewFile::OwnName, known);
    // Refuse compares the files with known first; Overwrite replaces them as they are.
    const RecipeFilesState* expected = outside == OutsideChanges::Refuse ? known : nullptr;
    return saveRecord(catalogue, recipe, form, expected, known);
}

bool hasCurrentRecipe(const Catalogue& catalogue)
{
    return catalogue.CurrentRecipe >= 0 && catalogue.CurrentRecipe < catalogue.recipes.size();
}

} // namespace

RecipeFilesState openedFilesState(const TKVG& record)
{
    RecipeFilesState state;
    if (record.FilePath.isEmpty())
        return state;
    const auto now = [](const QString& path) {
        FileState found;
        return readFileState(path, &found) ? found : kUnreadable;
    };
    state.recipe = record.Stored ? *record.Stored : now(record.FilePath);
    const auto& fields = recipeTextFields();
    for (size_t i = 0; i < fields.size(); ++i)
        state.sideFiles[i] = now(sideFilePath(record.FilePath, fields[i]));
    return state;
}

void fillRecipeFromForm(TKVG& recipe, const RecipeForm& form)
{
    recipe.Name = ansi(form.name);
    recipe.Kind = form.kind;
    recipe.Binder = ansi(form.binder);
    recipe.Book = ansi(form.book);
    recipe.Magazine = ansi(form.magazine);
    recipe.Page = ansi(form.page);
    recipe.Remark = ansi(form.remark);
    recipe.Categories = NormaliseCommaList(ansi(form.categories));
    recipe.Devices = form.devices;
    recipe.Servings = ansi(form.servings);
    recipe.PrepTime = ansi(form.prepTime);
    recipe.Difficulty = form.difficultyItem + 1;
    recipe.PictureFile = form.pictureFile;
    recipe.LastCooked = form.lastCooked;
    const auto& fields = recipeTextFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const rich::RichDocument& doc = form.texts[i];
        recipe.*fields[i].lines = linesFromDocument(doc);
        recipe.*fields[i].richText =
            doc.isEmpty() ? QString() : sideFilePath(recipe.FilePath, fields[i]);
    }
}

SaveResult SaveRecipe(Catalogue& catalogue, const RecipeForm& form, RecipeFilesState* known,
                      OutsideChanges outside)
{
    if (!hasCurrentRecipe(catalogue))
        return {SaveStatus::NoCurrentRecipe, {}, {}};
    if (form.name.isEmpty())
        return {SaveStatus::NameMissing, {}, {}};
    const TKVG& recipe = catalogue.recipes.at(catalogue.CurrentRecipe);
    if (recipe.FileName.isEmpty())
        return saveToNewFile(catalogue, recipe, form, NewFile::Typed, known);
    return saveOverOwnFiles(catalogue, recipe, form, known, outside);
}

SaveResult SaveRecipeAs(Catalogue& catalogue, const RecipeForm& form, bool overwrite,
                        RecipeFilesState* known, OutsideChanges outside)
{
    if (!hasCurrentRecipe(catalogue))
        return {SaveStatus::NoCurrentRecipe, {}, {}};
    if (form.name.isEmpty())
        return {SaveStatus::NameMissing, {}, {}};
    const TKVG& current = catalogue.recipes.at(catalogue.CurrentRecipe);
    TKVG recipe = current;
    recipe.FileName = recipeFileNameFor(ansi(form.name));
    recipe.FilePath = recipeFolder(BaseFolder()) + recipe.FileName;
    // A file whose name differs only in case is the same file on Windows: it is the one
    // asked about and the one replaced.
    const QString existing = lookupPath(recipe.FilePath);
    if (!existing.isEmpty()) {
        if (!overwrite)
            return {SaveStatus::NameExists, {}, {}};
        recipe.FilePath = existing;
        recipe.FileName = fileNameOf(existing);
    }
    // Onto the recipe's own file: the files it was opened from are checked as a save
    // checks them.
    if (!current.FileName.isEmpty() &&
        (recipe.FilePath == current.FilePath ||
         (!existing.isEmpty() && existing == lookupPath(current.FilePath))))
        return saveOverOwnFiles(catalogue, current, form, known, outside);
    return saveRecord(catalogue, recipe, form, nullptr, known);
}
