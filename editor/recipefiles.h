// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/recipetexts.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>

// File names of recipes: the recipe file is named after the recipe, its rich-text side
// files after the recipe file.

/// text with each character that a file name must not hold replaced by "_".
QString SafeFileName(const QString& text);

/// The file name a recipe name asks for: SafeFileName of the name and ".vrez". The name
/// is a Windows-1252 text as the record holds it.
QString recipeFileNameFor(const QByteArray& name);

/// Draws a whole number from 0 to 899.
using SuffixDraw = std::function<int()>;
/// The default draw, from the process-wide random generator.
int drawFileNameSuffix();

/// The names in a folder, compared as the file lookup compares them: whatever their case.
/// Listed once, so a run that writes many recipes (an import) adds the names it takes
/// instead of listing the folder again for each.
class TakenFileNames {
public:
    explicit TakenFileNames(const QString& folder);
    bool isFree(const QString& fileName) const;
    void take(const QString& fileName);

private:
    QSet<QString> m_names;
};

/// A recipe file name that no file in folder (ending with a separator) has yet, in any
/// case of its letters: the name's own file name when it is free, otherwise the name,
/// "_" and a drawn number.
/// Returns an empty text when every one of the 900 numbered names is taken.
QString FreeRecipeFileName(const QString& folder, const QByteArray& name,
                           const SuffixDraw& draw = drawFileNameSuffix);
/// As above, against names already listed.
QString FreeRecipeFileName(const TakenFileNames& taken, const QByteArray& name,
                           const SuffixDraw& draw = drawFileNameSuffix);

/// Path of a text's side file: the recipe file's path followed by the text's suffix.
QString sideFilePath(const QString& recipeFilePath, const RecipeTextField& field);

/// Deletes the file at path; a file that does not exist counts as deleted. On failure
/// error says which file could not be deleted and why.
bool removeRecipeFile(const QString& path, QString* error);

/// Deletes a recipe file and then its side files. When the recipe file cannot be
/// deleted its side files stay, so the recipe is kept whole; error names the file.
/// Temporary files that a killed save of the recipe left beside it are removed too.
bool DeleteRecipeFiles(const QString& recipeFilePath, QString* error);
