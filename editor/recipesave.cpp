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
};

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

    void rollback() const
    {
        for (auto it = m_snapshots.crbegin(); it != m_snapshots.crend(); ++it)
            it->restore();
    }

private:
    QList<FileSnapshot> m_snapshots;
};

// Writes or deletes one side file; the transaction remembers it first.
bool storeSideFile(SaveTransaction& transaction, const QString& path, const rich::RichDocument& doc,
                   QString* error)
{
    if (!transaction.remember(path, error))
        return false;
    if (doc.isEmpty())
        return removeRecipeFile(path, error);
    return rich::writeRtfFile(path, doc, error);
}

// Writes every file of the recipe; on failure puts back what was already changed.
bool storeRecipeFiles(TKVG& recipe, const RecipeForm& form, QString* error)
{
    SaveTransaction transaction;
    const auto& fields = recipeTextFields();
    bool ok = true;
    for (size_t i = 0; ok && i < fields.size(); ++i)
        ok = storeSideFile(transaction, sideFilePath(recipe.FilePath, fields[i]), form.texts[i],
                           error);
    if (ok)
        ok = transaction.remember(recipe.FilePath, error);
    if (ok) {
        TKV single{recipe};
        ok = WriteRecipeFile(single, 0, error) == 0;
        if (ok)
            recipe = single.first();
    }
    if (!ok)
        transaction.rollback();
    return ok;
}

SaveResult saveRecord(Catalogue& catalogue, TKVG recipe, const RecipeForm& form)
{
    fillRecipeFromForm(recipe, form);
    QString error;
    if (!storeRecipeFiles(recipe, form, &error))
        return {SaveStatus::FileError, error};
    catalogue.recipes[catalogue.CurrentRecipe] = recipe;
    return {};
}

bool hasCurrentRecipe(const Catalogue& catalogue)
{
    return catalogue.CurrentRecipe >= 0 && catalogue.CurrentRecipe < catalogue.recipes.size();
}

} // namespace

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

SaveResult SaveRecipe(Catalogue& catalogue, const RecipeForm& form)
{
    if (!hasCurrentRecipe(catalogue))
        return {SaveStatus::NoCurrentRecipe, {}};
    if (form.name.isEmpty())
        return {SaveStatus::NameMissing, {}};
    TKVG recipe = catalogue.recipes.at(catalogue.CurrentRecipe);
    if (!recipe.FileName.isEmpty())
        return saveRecord(catalogue, recipe, form);
    // A new recipe: another program (an import, a second window) may take the free
    // name between the look and the write. The name is claimed by writing the recipe
    // file without replacing anything, and a name taken meanwhile passes to the next.
    const QString folder = recipeFolder(BaseFolder());
    for (int attempt = 0;; ++attempt) {
        const QString fileName =
            attempt < kClaimAttempts ? FreeRecipeFileName(folder, ansi(form.name)) : QString();
        if (fileName.isEmpty()) {
            return {SaveStatus::FileError,
                    QStringLiteral("No free file name for the recipe in \"%1\"")
                        .arg(QDir::toNativeSeparators(folder))};
        }
        recipe.FileName = fileName;
        recipe.FilePath = folder + fileName;
        fillRecipeFromForm(recipe, form);
        QString error;
        const WriteResult claim =
            writeNewFileAtomically(recipe.FilePath, recipeFileBytes(recipe), &error);
        if (claim == WriteResult::Failed)
            return {SaveStatus::FileError, error};
        if (claim == WriteResult::Written)
            break;
    }
    const SaveResult result = saveRecord(catalogue, recipe, form);
    if (!result.ok())
        removeFile(recipe.FilePath); // the claim of a save that did not happen
    return result;
}

SaveResult SaveRecipeAs(Catalogue& catalogue, const RecipeForm& form, bool overwrite)
{
    if (!hasCurrentRecipe(catalogue))
        return {SaveStatus::NoCurrentRecipe, {}};
    if (form.name.isEmpty())
        return {SaveStatus::NameMissing, {}};
    TKVG recipe = catalogue.recipes.at(catalogue.CurrentRecipe);
    recipe.FileName = recipeFileNameFor(ansi(form.name));
    recipe.FilePath = recipeFolder(BaseFolder()) + recipe.FileName;
    // A file whose name differs only in case is the same file on Windows: it is the one
    // asked about and the one replaced.
    const QString existing = lookupPath(recipe.FilePath);
    if (!existing.isEmpty()) {
        if (!overwrite)
            return {SaveStatus::NameExists, {}};
        recipe.FilePath = existing;
        recipe.FileName = fileNameOf(existing);
    }
    return saveRecord(catalogue, recipe, form);
}
