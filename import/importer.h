// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "import/importrecipe.h"

#include <QString>
#include <QStringList>

#include <functional>

// Importing recipe files of other programs: each file is read whole through the guarded
// reader, its format recognised by its content, and every recipe read from it written
// as a recipe file of its own under a free file name, so nothing is overwritten.

enum class ImportFormat { Unknown, MealMaster, RecipeMl, SchemaOrg };

/// The format of a file's content (the name's extension decides only between formats
/// the content leaves open).
ImportFormat detectImportFormat(const QString& path, const QByteArray& bytes);

/// The reader of a format; nullptr for Unknown.
RecipeReader importReader(ImportFormat format);

/// What an import did.
struct ImportSummary {
    int imported = 0;              ///< the recipes committed (made durable) under their names
    QStringList recipeFiles;       ///< the names of the recipe files committed, in order
    QList<ImportProblem> problems; ///< what could not be read, in the order met
    /// Where and why the import stopped before its end (a recipe file could not be
    /// written, the disk is full); empty when it read every file.
    QString stopReason;
    bool stopped() const { return !stopReason.isEmpty(); }
    /// "3 recipes imported." and, for a stopped import, the line that says so.
    QString headline() const;
    /// The headline and, when there are problems, one line for each.
    QString text() const;
};

/// Told after each recipe written and before each file is read: the number written so
/// far (committed or still in the batch being written) and the file being read.
using ImportProgress = std::function<void(int imported, const QString& file)>;

/// Imports files into the recipe folder below baseFolder (made when missing). A file
/// that cannot be read or holds no recipe is named in the summary and the next one is
/// read; when a recipe file cannot be written the import stops there, keeping the
/// recipes of the batches committed before.
ImportSummary importRecipeFiles(const QStringList& files, const QString& baseFolder,
                                const ImportProgress& progress = {});

/// Writes the summary's text to path (UTF-8), replacing the file atomically.
bool saveImportSummary(const ImportSummary& summary, const QString& path, QString* error);
