#pragma once

#include "recipes/recipe.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

/// The record as a JSON object keyed by its field names (Kind to CommentsRtf), texts
/// converted from Windows-1252. ListIndex and the spare texts are not part of it.
QJsonObject recipeFieldsToJson(const TKVG& recipe);

/// recipeFieldsToJson plus, for each of the seven texts, the text as the program shows
/// it under the plain-line field's name with "Text" appended ("InstructionsText"):
/// the rich-text side file's text when it exists, otherwise the plain lines. Side files
/// that exist but cannot be read are named in unreadable.
QJsonObject recipeToJson(const TKVG& recipe, QStringList* unreadable = nullptr);

/// The catalogue as a JSON array of recipeToJson objects, in catalogue order.
QJsonArray catalogueToJson(const TKV& kv, QStringList* unreadable = nullptr);
