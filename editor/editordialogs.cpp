#include "editor/editordialogs.h"

#include "editor/picturedialog.h"
#include "imaging/pictureloader.h"
#include "platform/richtext/fonttransfer.h"

#include <QFontDialog>
#include <QPointer>

namespace {

FontDialogHook& fontHook()
{
    static FontDialogHook hook;
    return hook;
}

PictureDialogHook& pictureHook()
{
    static PictureDialogHook hook;
    return hook;
}

} // namespace

std::optional<QFont> ChooseFont(QWidget* parent, const QFont& initial)
{
    const QFont start = rich::fontForDialog(initial);
    std::optional<QFont> chosen;
    if (fontHook()) {
        chosen = fontHook()(start);
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
    if (pictureHook())
        return pictureHook()(folder, proposedName);
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
    fontHook() = std::move(hook);
}

void SetPictureDialogHook(PictureDialogHook hook)
{
    pictureHook() = std::move(hook);
}
