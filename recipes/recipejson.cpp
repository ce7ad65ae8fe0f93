#include "recipes/recipejson.h"

#include "platform/cp1252.h"
#include "recipes/recipetexts.h"

namespace {

QJsonArray linesToJson(const TSTRING& lines)
{
    QJsonArray array;
    for (QByteArrayView line : lines)
        array.append(cp1252::toUnicode(line));
    return array;
}

QJsonArray datesToJson(const TTDATE& dates)
{
    QJsonArray array;
    for (double date : dates)
        array.append(date);
    return array;
}

} // namespace

QJsonObject recipeToJson(const TKVG& r, QStringList* unreadable)
{
    QJsonObject object = recipeFieldsToJson(r);
    for (const RecipeTextField& field : recipeTextFields()) {
        QString error;
        object.insert(QLatin1String(field.name) + QLatin1String("Text"),
                      displayedText(r, field, &error));
        if (!error.isEmpty() && unreadable)
            unreadable->append(error);
    }
    return object;
}

QJsonObject recipeFieldsToJson(const TKVG& r)
{
    auto text = [](const QByteArray& bytes) { return cp1252::toUnicode(bytes); };
    return QJsonObject{
        {QStringLiteral("Kind"), r.Kind},
        {QStringLiteral("FileName"), r.FileName},
        {QStringLiteral("FilePath"), r.FilePath},
        {QStringLiteral("PictureFile"), r.PictureFile},
        {QStringLiteral("Name"), text(r.Name)},
        {QStringLiteral("Categories"), text(r.Categories)},
        {QStringLiteral("Difficulty"), r.Difficulty},
        {QStringLiteral("PrepTime"), text(r.PrepTime)},
        {QStringLiteral("Devices"), text(r.Devices)},
        {QStringLiteral("Servings"), text(r.Servings)},
        {QStringLiteral("LastCooked"), r.LastCooked},
        {QStringLiteral("CookedDates"), datesToJson(r.CookedDates)},
        {QStringLiteral("Ingredients"), linesToJson(r.Ingredients)},
        {QStringLiteral("Instructions"), linesToJson(r.Instructions)},
        {QStringLiteral("Comments"), linesToJson(r.Comments)},
        {QStringLiteral("Binder"), text(r.Binder)},
        {QStringLiteral("Magazine"), text(r.Magazine)},
        {QStringLiteral("Book"), text(r.Book)},
        {QStringLiteral("Page"), text(r.Page)},
        {QStringLiteral("Remark"), text(r.Remark)},
        {QStringLiteral("Quantities"), linesToJson(r.Quantities)},
        {QStringLiteral("Units"), linesToJson(r.Units)},
        {QStringLiteral("IngredientNames"), linesToJson(r.IngredientNames)},
        {QStringLiteral("Descriptions"), linesToJson(r.Descriptions)},
        {QStringLiteral("QuantitiesRtf"), r.QuantitiesRtf},
        {QStringLiteral("UnitsRtf"), r.UnitsRtf},
        {QStringLiteral("IngredientNamesRtf"), r.IngredientNamesRtf},
        {QStringLiteral("InstructionsRtf"), r.InstructionsRtf},
        {QStringLiteral("DescriptionsRtf"), r.DescriptionsRtf},
        {QStringLiteral("IngredientsRtf"), r.IngredientsRtf},
        {QStringLiteral("CommentsRtf"), r.CommentsRtf},
    };
}

QJsonArray catalogueToJson(const TKV& kv, QStringList* unreadable)
{
    QJsonArray array;
    for (const TKVG& r : kv)
        array.append(recipeToJson(r, unreadable));
    return array;
}
