// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QFileDialog>

class QLabel;

/// The dialog that chooses a recipe picture: Qt's own file dialog (a desktop's native
/// one cannot hold more controls) with a pane beside the file list that previews the
/// picture under the cursor. The preview is loaded as the editor loads the picture, at
/// most the pane's size with its aspect kept; folders and files that hold no readable
/// picture show "No picture".
class PictureDialog : public QFileDialog {
    Q_OBJECT
public:
    /// Opens in folder with proposedName selected. A child of parent and modal to it, so
    /// it blocks parent's window and goes with it.
    PictureDialog(QWidget* parent, const QString& folder, const QString& proposedName);

    /// The preview pane: the picture under the cursor, or the text "No picture".
    QLabel* preview() const { return m_preview; }

private:
    void showPreview(const QString& path);

    QLabel* m_preview = nullptr;
};
