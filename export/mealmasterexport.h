// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "export/exportrecipe.h"

#include <QString>

// Recipes as MealMaster text: "MMMMM" framing, a header with title, categories, servings
// or yield and time, the ingredients in MealMaster's columns (quantity right-aligned in
// 7, the two-letter unit, the text in 28 and "-" continuation lines for longer ones),
// then the directions, one paragraph each, wrapped at 72 columns.

/// MealMaster's two-letter unit for a unit ("cup" "c", "tbsp" "tb", "EL" "tb", "g" "g");
/// empty when MealMaster has none for it.
QString mealMasterUnit(QStringView unit);

/// One recipe, "MMMMM" begin line to "MMMMM" end line, lines ended by "\r\n".
QString mealMasterRecipe(const ExportedRecipe& recipe);
