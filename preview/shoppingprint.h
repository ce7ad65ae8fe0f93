// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "preview/pagegeometry.h"

#include <QString>

class PrintJob;
class QWidget;
class ShoppingSheet;

// The shopping list on paper: "Shopping list" in bold, the recipes with their servings,
// then one block per line of the list: a box to tick (crossed for a line ticked off),
// the line's text and, smaller, the recipes that need it, in Arial. A text too long for
// the width wraps inside its block; a page ends between blocks, never inside one.

/// Prints sheet as one job with geometry's print offsets. A page ends when the next
/// block would pass the bottom of the printable area. Returns false with error when
/// the job cannot be started, continued or delivered.
bool PrintShoppingSheet(PrintJob& job, const TDrucker& geometry, const ShoppingSheet& sheet,
                        QString* error);

/// "Print..." of the shopping list window: the print dialog on the default paper, then
/// the sheet on the chosen printer. A failure is reported over parent.
void PrintShoppingSheetOnChosen(QWidget* parent, const ShoppingSheet& sheet);
