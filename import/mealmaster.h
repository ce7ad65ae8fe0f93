// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "import/importrecipe.h"

// MealMaster text files: recipes framed by a "----- ... Meal-Master ..." line and a
// "-----" line, or by "MMMMM----- ..." and "MMMMM"; several per file, with text between
// them ignored. Each becomes a deluxe recipe: the header's title, categories and
// servings or yield, the time (other header fields as comments, the contributor as the remark),
// the ingredient lines in their columns (quantity, unit, text with the preparation after
// ";"), two columns read the left one first, continuation lines ("-" in the text column)
// and section headings; the directions become the instructions, one paragraph a line.
// Files in DOS code page 437 and in UTF-16 are read too.

/// True when text holds a MealMaster begin line.
bool looksLikeMealMaster(QStringView text);

/// Reads every recipe of a MealMaster file.
void readMealMaster(const QByteArray& bytes, const QString& path, const RecipeSink& sink,
                    QList<ImportProblem>* problems);
