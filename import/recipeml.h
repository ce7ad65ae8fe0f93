// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "import/importrecipe.h"

// RecipeML 0.5 files (XML, several recipes a file), read with Qt's XML stream reader,
// which resolves no external entities and bounds the expansion of internal ones. Each
// recipe becomes a deluxe recipe: the head's title, categories, yield, times (the total
// and its parts) and description, its source as the remark or a comment; ingredients
// ("ing" with amount, unit, item, preparation and notes) in the four columns, quantities
// with their fractions ("2 1/4") and ranges ("3/4-1"), the titles of ingredient groups as
// heading rows; directions as steps or text, the titles of direction groups as lines of
// their own. Elements holding text that it does not read are named in the problems.

/// True when text looks like a RecipeML document.
bool looksLikeRecipeMl(QStringView text);

/// Reads every recipe of a RecipeML file. A file that is not well-formed gives the
/// recipes completed before the error; the error is named with its line.
void readRecipeMl(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                  QList<ImportProblem>* problems);
