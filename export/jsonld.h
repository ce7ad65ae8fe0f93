// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "export/exportrecipe.h"

#include <QByteArray>
#include <QJsonObject>

// A recipe as schema.org JSON-LD: a "Recipe" object other recipe programs and search
// engines read.

/// The recipe's schema.org object. image is the picture's address relative to where
/// the object is written ("Easy-Chili.jpg"), or empty for none.
QJsonObject recipeJsonLd(const ExportedRecipe& recipe, const QString& image);

/// The object as indented UTF-8 JSON in which "<", ">" and "&" are written as \u escapes,
/// so the text can stand inside an HTML <script> element: no "</script>" or "<!--" in a
/// recipe's text can end or hide the element.
QByteArray scriptSafeJson(const QJsonObject& object);
