// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "recipes/recipe.h"

#include <QString>
#include <array>

// The seven texts of a recipe. Each exists as plain lines in the record and, optionally,
// as a rich-text side file beside the recipe file ("<recipe file>.001" to ".007"); where
// a text is shown, the side file wins when its path is set and the file exists.

struct RecipeTextField {
    const char* name;        ///< field name of the plain lines, "Instructions"
    TSTRING TKVG::*lines;    ///< the plain lines
    QString TKVG::*richText; ///< the side file's stored path
    const char* suffix;      ///< ".003"
};

/// The seven texts in the order of their side-file suffixes (".001" comments first).
const std::array<RecipeTextField, 7>& recipeTextFields();

/// The existing side file of a text, or empty. A path stored on another system (drive
/// letter, backslashes) is looked up by its file name beside the recipe file, and
/// finally as the recipe file's own path with the text's suffix.
QString existingRichTextPath(const TKVG& recipe, const RecipeTextField& field);

/// Reads the text's side file into doc when its path is set and the file exists.
/// Returns true when doc holds the side file's text (of a damaged file, what could be
/// read). A side file that exists but cannot be read at all gives false and error
/// naming it: the caller then shows the plain lines and says which file failed.
bool readSideFile(const TKVG& recipe, const RecipeTextField& field, rich::RichDocument& doc,
                  QString* error = nullptr);

/// readSideFile for the text only (lines joined with "\n"), without building a
/// document: true when text holds the side file's text.
bool readSideFileText(const TKVG& recipe, const RecipeTextField& field, QString* text,
                      QString* error = nullptr);

/// The text as the program shows it, lines joined with "\n": the side file's text when
/// it exists and can be read, otherwise the plain lines (error then names a side file
/// that exists but could not be read).
QString displayedText(const TKVG& recipe, const RecipeTextField& field, QString* error = nullptr);

/// The notice for a side file that could not be read (error from readSideFile).
QString unreadableSideFileText(const QString& error);
