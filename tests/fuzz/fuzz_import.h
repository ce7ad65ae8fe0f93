// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// Shared check of the import fuzz targets: every recipe a reader gives must become a
// record that a recipe file holds unchanged (no line breaks inside a text, the deluxe
// columns of equal length).

#include "import/importrecipe.h"
#include "recipes/recipefile.h"

#include <cstdint>
#include <cstdlib>

inline void checkImportedRecipe(ImportedRecipe& imported)
{
    TKVG record = imported.toRecord();
    if (record.Name.isEmpty())
        std::abort();
    const qsizetype rows = record.Quantities.size();
    if (record.Units.size() != rows || record.IngredientNames.size() != rows ||
        record.Descriptions.size() != rows)
        std::abort();
    normaliseKind(record);
    const QByteArray written = recipeFileBytes(record);
    TKVG again;
    FileProblem problem;
    if (!parseRecipeFile(written, again, &problem) || recipeFileBytes(again) != written)
        std::abort();
}

inline void fuzzReader(RecipeReader reader, const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<ImportProblem> problems;
    reader(
        bytes, QStringLiteral("/nonexistent/fuzz/page.html"),
        [](ImportedRecipe& recipe) { checkImportedRecipe(recipe); }, &problems);
}
