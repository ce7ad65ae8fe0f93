#include "editor/decorations.h"

#include "common/session.h"
#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "recipes/textrules.h"

#include <QLabel>
#include <QPixmap>

namespace {

void showPicture(QLabel* label, const QString& path, const QString& hint)
{
    if (!label)
        return;
    const QImage image = path.isEmpty() ? QImage() : loadPicture(path);
    label->setPixmap(QPixmap::fromImage(image));
    label->setToolTip(hint);
}

} // namespace

DecorationLabels& Decorations()
{
    static DecorationLabels labels;
    return labels;
}

QString recipePicturePath(const TKVG* recipe)
{
    if (recipe && !recipe->PictureFile.isEmpty()) {
        const QString found = lookupPath(recipe->PictureFile);
        if (!found.isEmpty())
            return found;
    }
    return basePath(QStringLiteral("Graphic/PNG/Rezeptdummy.png"));
}

QString devicePicturePath(const QByteArray& device)
{
    return basePath(QStringLiteral("Graphic/PNG/ENG/") + cp1252::toUnicode(device) +
                    QStringLiteral(".PNG"));
}

void ShowDevicePictures(TKV& kv, int index)
{
    DecorationLabels& labels = Decorations();
    const QByteArrayList devices =
        index >= 0 && index < kv.size() ? CollectDevices(kv[index]) : QByteArrayList();
    for (int slot = 0; slot < 7; ++slot) {
        const bool has = slot < devices.size();
        const QString path = has ? devicePicturePath(devices[slot]) : QString();
        const QString hint = has ? cp1252::toUnicode(devices[slot]) : QString();
        if (slot < 3)
            showPicture(labels.mainDevices[slot], path, hint);
        showPicture(labels.editorDeviceSlots[slot], path, hint);
    }
}

void ShowEditorDecorations(const TKV& kv, int index)
{
    const TKVG* recipe = index >= 0 && index < kv.size() ? &kv[index] : nullptr;
    const QString picture = recipePicturePath(recipe);
    DecorationLabels& labels = Decorations();
    showPicture(labels.mainPicture, picture, QString());
    showPicture(labels.editorPicture, picture, QString());
}
