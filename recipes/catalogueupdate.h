// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/recipefile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class SearchIndex;

/// What bringing the catalogue in line with changed files did.
struct CatalogueUpdate {
    int added = 0;
    int changed = 0;
    int removed = 0;
    /// Files that are there but cannot be read; their records are no longer listed.
    QList<FileProblem> problems;
    /// For every record afterwards, its index before, or -1 for a record read now;
    /// empty when nothing changed.
    std::vector<int> previousOf;
    /// A record left or lost a category or printed matter, which then may have gone
    /// from the collection.
    bool namesMayHaveGone = false;

    bool any() const { return added + changed + removed > 0; }
};

/// Brings the catalogue, sorted by name, in line with the named files of the recipe
/// folder below baseFolder, which others (a second copy of the program, a sync folder, a
/// script) may have added, changed, renamed or removed. Each name is looked at once:
/// a readable recipe file is added or replaces the record read from it, and a record
/// whose file is gone or no longer a readable recipe file is removed. A record whose
/// file holds the bytes it was read from or saved to (Stored) is left as it is, so the
/// program's own saves change nothing. Names that are not recipe files are passed over.
///
/// The catalogue stays sorted by name (a new record after those of the same name), and
/// the search index, when given, follows: the records it did not hold before are
/// prepared, the others keep their prepared lines. Every other index into the
/// catalogue (list rows, the current recipe) is stale afterwards.
CatalogueUpdate UpdateCatalogueFromFiles(const QString& baseFolder, TKV& kv, SearchIndex* index,
                                         const QStringList& names);

/// True when name is a recipe file's name ("*.vrez", in any case of its letters).
bool isRecipeFileName(const QString& name);
