// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/editordialogs.h"

#include "common/hook.h"
#include "editor/picturedialog.h"
#include "imaging/pictureloader.h"
#include "platform/richtext/fonttransfer.h"

#include <QFontDialog>
#include <QPointer>

std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial)
{
    const QFont start = rich::fontForDialog(initial);
    std::optional<QFont> chosen;
    if (hookSlot<SetFontDialogHook>()) {
        chosen = hookSlot<SetFontDialogHook>()(start);
    } else {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, start, parent);
        if (ok)
            chosen = font;
    }
    if (!chosen)
        return std::nullopt;
    return rich::fontFromDialog(*chosen, initial);
}

QString pictureDialogFilter()
{
    return QStringLiteral("All (%1);;"
                          "Bitmaps (*.bmp);;"
                          "Icons (*.ico);;"
                          "Enhanced Metafiles (*.emf);;"
                          "Metafiles (*.wmf);;"
                          "PNG-Graphiken (*.png);;"
                          "JPEG (*.jpg *.jpeg);;"
                          "GIF (*.gif)")
        .arg(pictureFilePatterns().join(QLatin1Char(' ')));
}

std::optional<QString> ChoosePicture(QWidget* parent, const QString& folder,
                                     const QString& proposedName)
{
    if (hookSlot<SetPictureDialogHook>())
        return hookSlot<SetPictureDialogHook>()(folder, proposedName);
    // On the heap as a child of parent: should parent go while the dialog waits, the
    // dialog goes with it and nothing is chosen.
    QPointer<PictureDialog> dialog = new PictureDialog(parent, folder, proposedName);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt;
    const QStringList chosen = dialog->selectedFiles();
    delete dialog.data();
    if (!accepted || chosen.isEmpty() || chosen.constFirst().isEmpty())
        return std::nullopt;
    return chosen.constFirst();
}

void SetFontDialogHook(FontDialogHook hook)
{
    hookSlot<SetFontDialogHook>() = std::move(hook);
}

void SetPictureDialogHook(PictureDialogHook hook)
{
    hookSlot<SetPictureDialogHook>() = std::move(hook);
}
