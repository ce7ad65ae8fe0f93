#pragma once

#include "recipes/recipe.h"

#include <QLabel>
#include <QPointer>
#include <QString>
#include <array>

// The recipe picture and the cooking-device pictures of a recipe, shown by the editor
// and, for the selected recipe, by the main window. Each window registers the labels
// it has; a missing or destroyed label is skipped.

struct DecorationLabels {
    QPointer<QLabel> mainPicture;                      ///< the main window's IRezept
    std::array<QPointer<QLabel>, 3> mainDevices;       ///< IKoch01 to IKoch03
    QPointer<QLabel> editorPicture;                    ///< the editor's IRezeptgrafik
    std::array<QPointer<QLabel>, 7> editorDeviceSlots; ///< KochgeraetImage1 to 7
};

/// The labels every window has registered.
DecorationLabels& Decorations();

/// The picture file shown for a recipe: its PictureFile when that file exists,
/// otherwise the "no picture" placeholder below the base folder.
QString recipePicturePath(const TKVG* recipe);
/// Picture file of a cooking device.
QString devicePicturePath(const QByteArray& device);

/// Shows the device pictures of catalogue entry index (-1: none): the first three in
/// the main window, all seven slots in the editor, each with the device name as hint.
/// Normalises the recipe's Devices.
void ShowDevicePictures(TKV& kv, int index);

/// Shows the recipe picture of catalogue entry index (-1: none) in the main window and
/// the editor (the editor's stars and calendar join when the editor is built).
void ShowEditorDecorations(const TKV& kv, int index);
