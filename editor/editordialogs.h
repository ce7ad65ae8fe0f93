// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The editor's common dialogs: the font dialog of the rich-text popup and the dialog
// that chooses the recipe picture. Both wait for the user; tests answer them through
// hooks instead.

/// The font dialog for a text in initial. It starts on the family and style the text
/// shows in; the choice comes back with the family under the name files store
/// (rich::fontFromDialog). Nothing when the user cancels.
std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial);

/// The recipe-picture dialog (PictureDialog, with its preview), modal to parent and
/// opened in folder with proposedName filled in; the chosen file's full path, or nothing
/// when the user cancels.
std::optional<QString> ChoosePicture(QWidget* parent, const QString& folder,
                                     const QString& proposedName);

/// The name filters of the picture dialog.
QString pictureDialogFilter();

/// Answers in place of the font dialog; gets the font the dialog would start on.
using FontDialogHook = std::function<std::optional<QFont>(const QFont& initial)>;
using PictureDialogHook =
    std::function<std::optional<QString>(const QString& folder, const QString& proposedName)>;

/// Routes the dialogs to hooks; an empty hook restores the dialog.
void SetFontDialogHook(FontDialogHook hook);
void SetPictureDialogHook(PictureDialogHook hook);
