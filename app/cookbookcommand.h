// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QList>

class QWidget;

/// "Print cookbook...": the print dialog (the PDF file or a printer of the system), then
/// the cookbook of recipes (catalogue indexes in list order) with a progress window
/// modal to parent whose Cancel leaves no file and aborts a printer's job. Problems and
/// a failure are reported over parent.
void PrintCookbook(QWidget* parent, Catalogue& catalogue, const QList<int>& recipes, bool grouped);
