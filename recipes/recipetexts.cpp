// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipetexts.h"

#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/richtext/rtfreader.h"
#include "recipes/textrules.h"

const std::array<RecipeTextField, 7>& recipeTextFields()
{
    static const std::array<RecipeTextField, 7> fields = {{
        {"Comments", &TKVG::Comments, &TKVG::CommentsRtf, ".001"},
        {"Ingredients", &TKVG::Ingredients, &TKVG::IngredientsRtf, ".002"},
        {"Instructions", &TKVG::Instructions, &TKVG::InstructionsRtf, ".003"},
        {"Quantities", &TKVG::Quantities, &TKVG::QuantitiesRtf, ".004"},
        {"Units", &TKVG::Units, &TKVG::UnitsRtf, ".005"},
        {"IngredientNames", &TKVG::IngredientNames, &TKVG::IngredientNamesRtf, ".006"},
        {"Descriptions", &TKVG::Descriptions, &TKVG::DescriptionsRtf, ".007"},
    }};
    return fields;
}

QString existingRichTextPath(const TKVG& recipe, const RecipeTextField& field)
{
    const QString& stored = recipe.*field.richText;
    if (stored.isEmpty())
        return {};
    const QString folder = FolderPart(recipe.FilePath);
    const QString found = lookupForeignPath(stored, folder);
    if (!found.isEmpty() || recipe.FilePath.isEmpty())
        return found;
    // A recipe whose file name the code page cannot hold has "?" in its stored paths.
    const QString own = recipe.FilePath + QLatin1String(field.suffix);
    if (own == stored || own == folder + fileNameOf(stored))
        return {}; // looked up already
    return lookupPath(own);
}

bool readSideFile(const TKVG& recipe, const RecipeTextField& field, rich::RichDocument& doc,
                  QString* error)
{
    const QString path = existingRichTextPath(recipe, field);
    if (path.isEmpty())
        return false;
    QString why;
    // A damaged side file still shows what could be read of it; only one that cannot
    // be read at all gives way to the plain lines, and that is said.
    if (rich::readRtfFile(path, doc, &why) || !doc.isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
}

bool readSideFileText(const TKVG& recipe, const RecipeTextField& field, QString* text,
                      QString* error)
{
    const QString path = existingRichTextPath(recipe, field);
    if (path.isEmpty())
        return false;
    QString why;
    // As readSideFile, without building the document: the text is all that is needed.
    if (rich::readRtfFileText(path, text, &why) || !text->isEmpty())
        return true;
    if (error)
        *error = why;
    return false;
}

QString displayedText(const TKVG& recipe, const RecipeTextField& field, QString* error)
{
    QString text;
    if (readSideFileText(recipe, field, &text, error))
        return text;
    text.clear();
    const TSTRING& lines = recipe.*field.lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += cp1252::toUnicode(lines[i]);
    }
    return text;
}

QString unreadableSideFileText(const QString& error)
{
    return QStringLiteral("%1\nThe text is shown without its formatting.").arg(error);
}
