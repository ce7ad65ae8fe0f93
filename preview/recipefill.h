// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "preview/elements.h"
#include "recipes/recipe.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// Turning a recipe into the contents of the thirteen elements: its texts into temporary
// rich-text files in this run's folder below TEMP/, its stars, picture and cooking devices into element
// bitmaps. Positions and pages are not touched.

/// Edge length of one cooking-device icon in the strip.
inline constexpr int kDeviceIconSize = 32;

/// The preview's temporary folder below the base folder: this run's own below TEMP/.
QString previewTempFolder(const QString& baseFolder);
/// The scratch file the wrapped text of an element passes through.
QString scratchFilePath(const QString& baseFolder);
/// The content file of text element i (0 to 8, or the shopping list) of a recipe file.
QString contentFilePath(const QString& baseFolder, const QString& recipeFileName, int i);
/// The cooking-device strip.
QString deviceStripPath(const QString& baseFolder);

/// Fills the contents and flags of the elements from recipe. scratch is the hidden rich
/// edit the texts pass through. Returns false, with error naming the file, when a
/// content file cannot be written; the files written so far stay for the caller to
/// delete. notices collects what could be shown only in part (a side file read as
/// plain lines, a picture that cannot be loaded).
bool FillElementsFromRecipe(ElementArray& elements, TKVG& recipe, const QString& baseFolder,
                            rich::RichDocument& scratch, QString* error,
                            QStringList* notices = nullptr);

/// Pictures are kept in at most this many pixels per inch of the sheet, the resolution
/// of the built-in PDF printer: what a print of a picture fitted to the sheet needs.
inline constexpr int kPictureKeptDpi = 600;

/// Loads a picture element from the picture file named by its ContentFile: its Picture
/// and a bitmap that shows it inside a white border of kPictureBorder pixels, fitted to
/// sheet (FitPictureElement). Nothing larger than sheet, either way round, is kept: a
/// metafile is drawn at most that large, a raster read at most at kPictureKeptDpi of
/// it. Without a sheet (empty) rasters keep their own size and metafiles the general
/// limit. Returns false with error when the picture cannot be loaded; the element is then
/// left as it was.
bool LoadPictureElement(TGFXL& element, QSize sheet, QString* error = nullptr);

/// Lays a picture element out for sheet: its bitmap shows the Picture at its own size,
/// or, when that is larger than the sheet (with the border), scaled down smoothly to fit
/// it with its aspect kept. Elements without a Picture are left alone.
void FitPictureElement(TGFXL& element, QSize sheet);

/// Writes the strip of cooking-device icons (32 x 32 each, side by side, from
/// Graphic/PNG/ENG/ + name + ".png") as a BMP file, the icons' background made white.
/// With no names nothing is written. An icon that cannot be loaded leaves its place
/// white.
bool BuildDeviceStrip(const QString& path, const QByteArrayList& names, const QString& baseFolder,
                      QString* error = nullptr);

/// Deletes the temporary files of the preview: every element's content file except
/// the star and recipe pictures, and the scratch file. Only files inside the preview's
/// temporary folder are ever deleted, so a user's file never goes.
void DeletePreviewFiles(const ElementArray& elements, const QString& baseFolder);

/// Deletes what a crashed preview of an earlier version left in TEMP/ itself: content files
/// ("*.vrez001" to "*.vrez009"), the device strip and the scratch file. Other files
/// stay. Returns the names removed.
QStringList RemoveLeftoverPreviewFiles(const QString& baseFolder);
