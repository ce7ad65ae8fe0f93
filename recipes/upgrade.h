// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipefile.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// Parses an old-format recipe file (header "[MENDRAKE_TARVOLIN 1.5]"). Returns false
/// when the header differs, or when a value is malformed (problem says where).
bool parseOldRecipeFile(const QByteArray& bytes, TKVG& recipe, FileProblem* problem);

/// The current-format bytes of an old recipe: cooking date 0, no cooking dates and no
/// rich-text paths; the kind is kept as the conversion set it.
QByteArray upgradedRecipeBytes(const TKVG& recipe);

/// Converts the old-format file name of the recipe folder, whose bytes are given, in
/// place to the current format and puts the new bytes into bytes. Returns false when
/// the file is damaged or cannot be written (reported in problems; the file is left).
bool upgradeRecipeFile(const QString& baseFolder, const QString& name, QByteArray* bytes,
                       QList<FileProblem>* problems);
