// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QByteArrayView>
#include <QJsonObject>
#include <QStringList>

#include <functional>

/// The record as a JSON object keyed by its field names (Kind to CommentsRtf), texts
/// converted from Windows-1252. ListIndex and the spare texts are not part of it.
QJsonObject recipeFieldsToJson(const TKVG& recipe);

/// recipeFieldsToJson plus, for each of the seven texts, the text as the program shows
/// it under the plain-line field's name with "Text" appended ("InstructionsText"):
/// the rich-text side file's text when it exists, otherwise the plain lines. Side files
/// that exist but cannot be read are named in unreadable.
QJsonObject recipeToJson(const TKVG& recipe, QStringList* unreadable = nullptr);

/// Hands every recipe of a collection to a visitor, one at a time.
using RecipeSource = std::function<void(const std::function<void(const TKVG&)>&)>;

/// Writes the recipes a source hands over, in that order, as a JSON array of
/// recipeToJson objects, in UTF-8 and indented exactly as QJsonDocument writes such an
/// array, one recipe at a time: write receives the text piece by piece, so neither the
/// array, its text nor the collection is ever held whole.
void writeRecipesJson(const RecipeSource& source, const std::function<void(QByteArrayView)>& write,
                      QStringList* unreadable = nullptr);
