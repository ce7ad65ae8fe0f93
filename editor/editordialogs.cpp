#include "editor/editordialogs.h"

#include "imaging/pictureloader.h"

#include "platform/richtext/fonttransfer.h"

#include <QDir>
#include <QFileDialog>
#include <QFontDialog>

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
    const QString start = proposedName.isEmpty() ? folder : QDir(folder).filePath(proposedName);
    const QString path = QFileDialog::getOpenFileName(parent, QString(), start, pictureDialogFilter());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

void SetFontDialogHook(FontDialogHook hook)
{
    fontHook() = std::move(hook);
}

void SetPictureDialogHook(PictureDialogHook hook)
{
    pictureHook() = std::move(hook);
}
