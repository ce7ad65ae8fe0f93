// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/pagegeometry.h"
#include "recipes/recipe.h"

#include <QList>
#include <QString>

class PrintJob;
namespace rich {
class DeviceFont;
}

// The recipe list on paper: one block per listed recipe, its recipe-type icons on the
// left, then its name in bold, a line naming where the recipe is kept and a line of
// further information, in Arial 10; the blocks run down the page and continue on the
// next page at the top.

/// The two lines under a recipe's name: where it is kept (ring binder, magazine or
/// book with the page) and a remark, or for a recipe kept nowhere else its categories
/// and a line with servings and cooking time. Either may be empty.
struct ListEntryText {
    QString source;
    QString info;
};
ListEntryText ListEntryLines(const TKV& kv, int index);

/// The catalogue indexes of the recipe rows of the list (row 1 on), in row order.
QList<int> ListedRecipes(const TKV& kv);

/// Icon file below "Graphic/PNG/" of a recipe type (0 to 4); empty for any other.
QString listIconFile(int type);

/// text as far as it fits width device pixels in font, ending in "..." where it was
/// cut (the longest start that fits with the dots; a surrogate pair is never split).
QString FitListLine(rich::DeviceFont& font, const QString& text, int width);

/// Prints the recipes kv[rows[0]], kv[rows[1]], ... as one job with geometry's print
/// offsets, the icons loaded below baseFolder (a missing icon leaves blank space of
/// its width). A page ends when the next block would reach the printable height.
/// Returns false with error when the job cannot be started, continued or delivered.
bool PrintRecipeList(PrintJob& job, const TDrucker& geometry, const TKV& kv, const QList<int>& rows,
                     const QString& baseFolder, QString* error);
