// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <functional>

class TFVor;

// The one entry point of printing: the preview of a recipe.

/// The preview window, created on first use and kept for the whole run.
TFVor* PreviewWindow();

/// Recipe mode: lays out catalogue entry CurrentRecipe in the preview window (asking
/// whether a recipe with both layouts is to be printed deluxe) and returns when the
/// window has been closed. List mode prints the recipe rows of the list (found through
/// ListIndex) on the printer chosen in the print dialog, without a preview window.
void OpenPreview(Catalogue& catalogue, bool recipeMode, bool listMode);

/// The opening steps of recipe mode without showing the window: lays out catalogue
/// entry CurrentRecipe in the preview window (the deluxe question asked through the
/// message dialog, the standard draft applied) and returns true; false, with the error
/// reported, when there is nothing to lay out. The caller ends the preview (deletes its
/// files and releases the elements).
/// With draftFile, that draft is read and applied instead of the standard draft; a
/// draft that cannot be read lays nothing out and error names the file (and line).
/// What LayOutRecipe does with a damaged standard draft (a line that should hold a
/// number holds none).
enum class DamagedDraft {
    Report,  ///< reports the file and line and lays the recipe out without it (the preview)
    Abandon, ///< lays nothing out and returns false with error naming the file and line
};
bool LayOutRecipe(Catalogue& catalogue, const QString& draftFile = QString(),
                  QString* error = nullptr, DamagedDraft onDamage = DamagedDraft::Report);

/// The page geometry the preview opens with: the default paper format in the
/// orientation of the settings, on the current printer.
void ComputeDefaultPageMetrics();

/// Lays the recipe being previewed out again under the current draft, as when the
/// preview opened: the elements are reset, filled from the recipe and placed by the
/// draft. Returns false with error when a content file cannot be written (the elements
/// filled so far are placed) or when no preview is open.
bool RefillPreview(TFVor& preview, QString* error = nullptr);

/// True while the preview window is open on a recipe (OpenPreview has not returned).
bool PreviewShowsRecipe();

using PreviewShownHook = std::function<void(TFVor& preview)>;

/// Called with the shown preview instead of waiting for the user (tests, benchmarks);
/// the hook ends the preview by closing the window, and a preview it leaves open is
/// closed when it returns. An empty hook waits for the user.
void SetPreviewShownHook(PreviewShownHook hook);
