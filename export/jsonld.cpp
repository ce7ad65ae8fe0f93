// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/jsonld.h"

#include <QJsonArray>
#include <QJsonDocument>

QJsonObject recipeJsonLd(const ExportedRecipe& recipe, const QString& image)
{
    QJsonObject object{{QStringLiteral("@context"), QStringLiteral("https://schema.org")},
                       {QStringLiteral("@type"), QStringLiteral("Recipe")},
                       {QStringLiteral("name"), recipe.name}};
    auto setText = [&](const char* key, const QString& text) {
        if (!text.isEmpty())
            object.insert(QLatin1String(key), text);
    };
    setText("description", recipe.remark);
    setText("image", image);
    setText("recipeYield", recipe.servings);
    setText("totalTime", isoDuration(recipe.times.total));
    setText("prepTime", isoDuration(recipe.times.preparation));
    setText("cookTime", isoDuration(recipe.times.cooking));
    if (!recipe.categories.isEmpty())
        object.insert(QStringLiteral("recipeCategory"),
                      QJsonArray::fromStringList(recipe.categories));
    setText("keywords", recipe.keywords.join(QStringLiteral(", ")));
    object.insert(QStringLiteral("recipeIngredient"),
                  QJsonArray::fromStringList(recipe.ingredients));
    QJsonArray steps;
    for (const QString& step : recipe.instructions)
        steps.append(QJsonObject{{QStringLiteral("@type"), QStringLiteral("HowToStep")},
                                 {QStringLiteral("text"), step}});
    object.insert(QStringLiteral("recipeInstructions"), steps);
    if (!recipe.comments.isEmpty()) {
        QJsonArray comments;
        for (const QString& comment : recipe.comments)
            comments.append(QJsonObject{{QStringLiteral("@type"), QStringLiteral("Comment")},
                                        {QStringLiteral("text"), comment}});
        object.insert(QStringLiteral("comment"), comments);
    }
    return object;
}

QByteArray scriptSafeJson(const QJsonObject& object)
{
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Indented);
    QByteArray out;
    out.reserve(json.size() + 64);
    // These characters stand only inside strings, where an escape means the same.
    for (const char c : json) {
        switch (c) {
        case '<':
            out += "\\u003c";
            break;
        case '>':
            out += "\\u003e";
            break;
        case '&':
            out += "\\u0026";
            break;
        default:
            out += c;
        }
    }
    return out;
}
