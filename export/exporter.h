// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Exporting recipes for other programs: a folder of schema.org JSON-LD files, one
// MealMaster file, or a static website. Everything is written into a temporary file or
// folder beside the target and renamed to it at the end, so a failed or cancelled export
// leaves the target as it was.

enum class ExportFormat { JsonLd, MealMaster, Html };

/// What an export did.
struct ExportOutcome {
    int exported = 0; ///< recipes written (0 unless the export was completed)
    bool cancelled = false;
    QString error;     ///< why nothing was written; empty on success and on cancel
    QStringList notes; ///< what was written with a change (unreadable side files, pictures)
    bool ok() const { return !cancelled && error.isEmpty(); }
};

/// Told after each recipe: the number done and the number in all. Returns false to
/// cancel the export.
using ExportProgress = std::function<bool(int done, int total)>;

/// The file that marks a folder as an export of ours: only such a folder (or an empty
/// one) is replaced by a new export.
inline constexpr char kExportMarker[] = ".dilboscan-export";

/// Exports the recipes, in their order, to target: a folder for JsonLd and Html (made
/// when missing; an existing one must be empty or an earlier export, which is replaced
/// whole), a file for MealMaster (replaced).
ExportOutcome exportRecipes(ExportFormat format, const QList<const TKVG*>& recipes,
                            const QString& target, const ExportProgress& progress = {});
