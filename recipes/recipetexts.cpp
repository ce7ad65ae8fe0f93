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
    const QString found = lookupForeignPath(stored, FolderPart(recipe.FilePath));
    if (!found.isEmpty() || recipe.FilePath.isEmpty())
        return found;
    // A recipe whose file name the code page cannot hold has "?" in its stored paths.
    return lookupPath(recipe.FilePath + QLatin1String(field.suffix));
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

QString displayedText(const TKVG& recipe, const RecipeTextField& field, QString* error)
{
    rich::RichDocument doc;
    if (readSideFile(recipe, field, doc, error))
        return doc.plainText();
    QStringList lines;
    for (QByteArrayView line : recipe.*field.lines)
        lines << cp1252::toUnicode(line);
    return lines.join(QLatin1Char('\n'));
}

QString unreadableSideFileText(const QString& error)
{
    return QStringLiteral("%1\nThe text is shown without its formatting.").arg(error);
}
