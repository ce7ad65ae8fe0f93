// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QStringList>

/// The plain lines the main window's summary shows for a record of the given recipe
/// type: the instructions (normal), one line per ingredient row (deluxe), or the
/// printed matter with page and remark. A normal recipe's rich-text instructions, when
/// they exist, are shown instead of these lines by the window.
QStringList SummaryLines(const TKVG& recipe, int recipeType);
