// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/decorations.h"

#include "common/errorreport.h"

#include "common/session.h"
#include "editor/fieldrules.h"
#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "platform/filelookup.h"
#include "recipes/textrules.h"

#include <QLabel>
#include <QDateTime>
#include <QFileInfo>
#include <QPixmap>
#include <QPixmapCache>

namespace {

// The picture frame as the form places it, and the picture inside it.
constexpr QRect kFrame(120, 232, 283, 147);
constexpr QRect kImage(1, 1, 281, 145);

QPixmap pictureOf(const QString& path)
{
    return cachedPicture(path);
}

void showPicture(QLabel* label, const QPixmap& picture, const QString& hint)
{
    if (!label)
        return;
    label->setPixmap(picture);
    label->setToolTip(hint);
}

void showPrintedMatterIcons()
{
    for (const PrintedMatterIcon& item : Decorations().printedMatter) {
        if (!item.icon)
            continue;
        const bool empty = !item.edit || item.edit->text().isEmpty();
        item.icon->setPixmap(pictureOf(smallIconPath(item.number, empty)));
    }
}

void showStars()
{
    DecorationLabels& labels = Decorations();
    if (!labels.editorStars)
        return;
    const int item = labels.editorDifficulty ? labels.editorDifficulty->currentIndex() : -1;
    if (item < 0 || item >= difficultyNames().size()) {
        labels.editorStars->clear();
        labels.editorStars->setToolTip(QString());
        return;
    }
    labels.editorStars->setPixmap(
        pictureOf(basePath(QStringLiteral("Graphic/PNG/%1_Sterne.png").arg(item + 1))));
    labels.editorStars->setToolTip(difficultyNames().at(item));
}

} // namespace

QPixmap cachedPicture(const QString& path, QString* error)
{
    if (path.isEmpty())
        return {};
    // A changed file has another time or size and so another key. Why a picture could
    // not be read is kept as well, so a bad file is not read again on every selection.
    static QHash<QString, QString> failures;
    const QFileInfo info(path);
    const QString key = QStringLiteral("decoration:%1:%2:%3")
                            .arg(path)
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(info.size());
    if (const auto failed = failures.constFind(key); failed != failures.constEnd()) {
        if (error)
            *error = *failed;
        return {};
    }
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        QString why;
        // A metafile is drawn no larger than the editor shows a picture; the main window
        // shows it smaller still.
        pixmap = QPixmap::fromImage(loadPicture(path, &why, PictureBounds{kImage.size(), {}}));
        if (pixmap.isNull()) {
            failures.insert(key, why);
            if (error)
                *error = why;
            return {};
        }
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

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

QString smallIconPath(int n, bool grey)
{
    return basePath(QStringLiteral("Graphic/ICO/24/%1%2.ico").arg(n).arg(grey ? QLatin1String("g") : QLatin1String()));
}

CookingDay cookingDayOf(double lastCooked, const QDate& today)
{
    const QDate day = dateTimeFromDayCount(lastCooked).date();
    if (!day.isValid())
        return CookingDay::Today;
    if (day < today)
        return CookingDay::Earlier;
    return day > today ? CookingDay::Later : CookingDay::Today;
}

QString calendarPicturePath(CookingDay day)
{
    switch (day) {
    case CookingDay::Earlier:
        return basePath(QStringLiteral("Graphic/PNG/Kalendar_Yesterday.png"));
    case CookingDay::Later:
        return basePath(QStringLiteral("Graphic/PNG/Kalendar_Tomorrow.png"));
    case CookingDay::Today:
        break;
    }
    return basePath(QStringLiteral("Graphic/PNG/Kalendar_Today.png"));
}

PictureFrameGeometry fitRecipePictureGeometry(const QSize& picture)
{
    PictureFrameGeometry g{kFrame, kImage};
    if (picture.width() < kImage.width()) {
        g.frame.moveLeft(kFrame.left() + kFrame.width() / 2 - picture.width() / 2);
        g.image.setWidth(picture.width());
        g.frame.setWidth(picture.width() + 2);
    }
    if (picture.height() < kImage.height()) {
        g.image.setHeight(picture.height());
        g.frame.setHeight(picture.height() + 2);
    }
    return g;
}

void FitRecipePicture()
{
    DecorationLabels& labels = Decorations();
    if (!labels.editorPicture || !labels.editorPictureFrame)
        return;
    const QPixmap picture = labels.editorPicture->pixmap();
    const PictureFrameGeometry g =
        fitRecipePictureGeometry(picture.isNull() ? kImage.size() : picture.size());
    labels.editorPictureFrame->setGeometry(g.frame);
    labels.editorPicture->setGeometry(g.image);
}

void ShowDevicePictures(TKV& kv, int index)
{
    DecorationLabels& labels = Decorations();
    showPrintedMatterIcons();
    const QByteArrayList devices =
        index >= 0 && index < kv.size() ? CollectDevices(kv[index]) : QByteArrayList();
    const QString emptyHint = labels.editorDevicePanel ? labels.editorDevicePanel->toolTip() : QString();
    const QPixmap emptySlot = pictureOf(basePath(QStringLiteral("Graphic/PNG/DummyKochgeraet.png")));
    for (int slot = 0; slot < 7; ++slot) {
        const bool has = slot < devices.size();
        const QPixmap picture = has ? pictureOf(devicePicturePath(devices[slot])) : QPixmap();
        const QString hint = has ? cp1252::toUnicode(devices[slot]) : QString();
        if (slot < 3)
            showPicture(labels.mainDevices[slot], picture, hint);
        showPicture(labels.editorDeviceSlots[slot], has ? picture : emptySlot,
                    has ? hint : emptyHint);
    }
}

void ShowEditorDecorations(const TKV& kv, int index)
{
    DecorationLabels& labels = Decorations();
    showStars();
    const TKVG* recipe = index >= 0 && index < kv.size() ? &kv[index] : nullptr;
    if (labels.editorCalendar) {
        const CookingDay day =
            recipe ? cookingDayOf(recipe->LastCooked, QDate::currentDate()) : CookingDay::Today;
        labels.editorCalendar->setPixmap(pictureOf(calendarPicturePath(day)));
    }

    const QString path = recipePicturePath(recipe);
    const bool own = recipe && !recipe->PictureFile.isEmpty() && path != recipePicturePath(nullptr);
    QString why;
    QPixmap picture = cachedPicture(path, &why);
    if (picture.isNull() && own) // a file that is there but cannot be read
        picture = pictureOf(recipePicturePath(nullptr));
    else
        why.clear();
    if (labels.mainPicture)
        labels.mainPicture->setPixmap(picture);
    if (labels.editorPicture)
        labels.editorPicture->setPixmap(picture);
    // The placeholder stands in for a picture that cannot be read; the user is told why
    // once per file and run, not on every selection of the recipe.
    if (!why.isEmpty()) {
        QLabel* shown = labels.editorPicture && labels.editorPicture->isVisible()
                            ? labels.editorPicture.data()
                            : labels.mainPicture.data();
        ReportErrorOnce(shown ? shown->window() : nullptr, why);
    }
    if (labels.editorPictureName)
        labels.editorPictureName->setText(own ? recipe->PictureFile : QString());
    FitRecipePicture();
}
