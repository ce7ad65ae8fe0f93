// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/recipeform.h"

#include "platform/cp1252.h"
#include "platform/richtext/rtfreader.h"
#include "recipes/recipetexts.h"
#include "recipes/textrules.h"

namespace {

rich::RichDocument documentForText(const TKVG& recipe, const RecipeTextField& field,
                                   QStringList* unreadable)
{
    rich::RichDocument doc;
    QString error;
    if (readSideFile(recipe, field, doc, &error))
        return doc;
    if (!error.isEmpty() && unreadable)
        unreadable->append(error);
    return documentFromLines(recipe.*field.lines);
}

} // namespace

rich::RichDocument documentFromLines(const TSTRING& lines)
{
    rich::RichDocument doc;
    for (QByteArrayView line : lines)
        doc.appendLine(cp1252::toUnicode(line));
    return doc;
}

TSTRING linesFromDocument(const rich::RichDocument& doc)
{
    TSTRING lines;
    for (const rich::RichLine& line : doc.lines())
        lines.append(cp1252::fromUnicode(line.text));
    return lines;
}

RecipeForm formFromRecipe(const TKVG& recipe, QStringList* unreadable)
{
    RecipeForm form;
    form.name = cp1252::toUnicode(recipe.Name);
    form.kind = recipe.Kind;
    form.binder = cp1252::toUnicode(recipe.Binder);
    form.book = cp1252::toUnicode(recipe.Book);
    form.magazine = cp1252::toUnicode(recipe.Magazine);
    form.page = cp1252::toUnicode(recipe.Page);
    form.remark = cp1252::toUnicode(recipe.Remark);
    form.categories = cp1252::toUnicode(NormaliseCommaList(recipe.Categories));
    form.devices = recipe.Devices;
    form.servings = cp1252::toUnicode(recipe.Servings);
    form.prepTime = cp1252::toUnicode(recipe.PrepTime);
    form.difficultyItem = recipe.Difficulty - 1;
    form.lastCooked = recipe.LastCooked;
    form.pictureFile = recipe.PictureFile;
    const auto& fields = recipeTextFields();
    for (size_t i = 0; i < fields.size(); ++i)
        form.texts[i] = documentForText(recipe, fields[i], unreadable);
    return form;
}
