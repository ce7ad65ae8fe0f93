// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/recipefill.h"

#include "common/session.h"
#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "platform/filelookup.h"
#include "platform/richtext/rendertarget.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/runlock.h"
#include "platform/safefile.h"
#include "preview/pagegeometry.h"
#include "preview/servingsscale.h"
#include "recipes/recipetexts.h"
#include "recipes/shoppinglist.h"
#include "recipes/textrules.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QRegularExpression>

namespace {

constexpr char kScratchName[] = "Temprtf.qzt";
constexpr char kStripName[] = "CookingPots.bmp";

rich::CharFormat msSansSerif(int halfPoints, int heightPx)
{
    rich::CharFormat f;
    f.fontName = QStringLiteral("MS Sans Serif");
    f.halfPoints = halfPoints;
    f.heightPx = heightPx;
    return f;
}

/// The default font of a rich edit control, which plain lines take.
rich::CharFormat editDefaultFormat()
{
    return msSansSerif(16, 11);
}

void clearScratch(rich::RichDocument& scratch)
{
    scratch.clear();
    scratch.setDefaultFormat(editDefaultFormat());
}

/// Gives every character of scratch one format.
void formatAll(rich::RichDocument& scratch, const rich::CharFormat& format)
{
    scratch.selectAll();
    scratch.changeSelectionFormat([&format](rich::CharFormat& f) { f = format; });
    for (rich::RichLine& line : scratch.lines())
        line.endFormat = scratch.intern(format);
    scratch.setSelection(0, 0);
}

bool saveContent(TGFXL& e, const rich::RichDocument& scratch, QString* error)
{
    if (e.ContentFile.isEmpty())
        return true;
    return rich::writeRtfFile(e.ContentFile, scratch, error, Durability::Scratch);
}

void setFlags(TGFXL& e, bool picture, bool wholeTextFont, int columnGroup)
{
    e.IsPicture = picture;
    e.WholeTextFont = wholeTextFont;
    e.ColumnGroup = columnGroup;
}

QString text(const QByteArray& bytes)
{
    return cp1252::toUnicode(bytes);
}

void loadPicture(TGFXL& e, QStringList* notices)
{
    const TDrucker& d = CurrentDrucker();
    QString why;
    if (LoadPictureElement(e, QSize(d.SheetWidth, d.SheetHeight), &why))
        return;
    // A picture that cannot be loaded leaves an element without content.
    e.ContentFile.clear();
    if (notices)
        *notices << why;
}

bool fillTexts(ElementArray& elements, TKVG& recipe, const QString& base,
               rich::RichDocument& scratch, QString* error, QStringList* notices)
{
    const auto& fields = recipeTextFields();
    for (int i = 0; i <= kPreparation; ++i) {
        const RecipeTextField& field = fields.at(size_t(i));
        clearScratch(scratch);
        QString why;
        if (!readSideFile(recipe, field, scratch, &why)) {
            if (!why.isEmpty() && notices)
                *notices << why;
            clearScratch(scratch);
            for (QByteArrayView line : recipe.*field.lines)
                scratch.appendLine(cp1252::toUnicode(line));
        }
        TGFXL& e = elements[i];
        e.ContentFile = scratch.isEmpty() ? QString() : contentFilePath(base, recipe.FileName, i);
        if (isColumn(i))
            setFlags(e, false, true, 1);
        else
            setFlags(e, false, false, 0);
        if (!saveContent(e, scratch, error))
            return false;
    }
    return true;
}

bool fillName(TGFXL& e, const TKVG& recipe, const QString& base, rich::RichDocument& scratch,
              QString* error)
{
    clearScratch(scratch);
    scratch.appendLine(text(recipe.Name));
    formatAll(scratch, msSansSerif(24, 16));
    e.ContentFile = contentFilePath(base, recipe.FileName, kRecipeName);
    setFlags(e, false, false, 0);
    return saveContent(e, scratch, error);
}

bool fillOtherNotes(TGFXL& e, const TKVG& recipe, const QString& base, rich::RichDocument& scratch,
                    QString* error)
{
    clearScratch(scratch);
    if (!recipe.Categories.isEmpty())
        scratch.appendLine(QStringLiteral("Recipe information: ") + text(recipe.Categories));
    if (!recipe.Servings.isEmpty())
        scratch.appendLine(QLatin1String(kServingsLinePrefix) + text(recipe.Servings));
    if (!recipe.PrepTime.isEmpty())
        scratch.appendLine(QStringLiteral("Cooking time: ") + text(recipe.PrepTime));
    const QDate cooked = dateTimeFromDayCount(recipe.LastCooked).date();
    scratch.appendLine(QStringLiteral("Cooking date: ") +
                       QLocale::system().toString(cooked, QLocale::ShortFormat));
    formatAll(scratch, msSansSerif(20, 13));
    e.ContentFile = contentFilePath(base, recipe.FileName, kOtherNotes);
    setFlags(e, false, false, 0);
    return saveContent(e, scratch, error);
}

// One line per ingredient, with a box to tick, in the recipe's order; section headings
// and blank rows are left out.
bool fillShoppingList(TGFXL& e, const TKVG& recipe, const QString& base,
                      rich::RichDocument& scratch, QString* error)
{
    clearScratch(scratch);
    for (const ShoppingItem& item : shoppingItems(ingredientTexts(recipe, true), 1))
        scratch.appendLine(shoppingListLine(item));
    formatAll(scratch, msSansSerif(20, 13));
    e.ContentFile =
        scratch.isEmpty() ? QString() : contentFilePath(base, recipe.FileName, kShoppingList);
    setFlags(e, false, false, 0);
    return saveContent(e, scratch, error);
}

bool fillPictures(ElementArray& elements, TKVG& recipe, const QString& base, QString* error,
                  QStringList* notices)
{
    TGFXL& stars = elements[kDifficulty];
    stars.ContentFile.clear();
    setFlags(stars, true, true, 0);
    if (recipe.Difficulty >= 1 && recipe.Difficulty <= 5) {
        stars.ContentFile =
            basePath(QStringLiteral("Graphic/PNG/%1_Sterne.png").arg(recipe.Difficulty));
        loadPicture(stars, notices);
    }

    TGFXL& graphic = elements[kRecipeGraphic];
    graphic.ContentFile.clear();
    setFlags(graphic, true, true, 0);
    const QString picture =
        recipe.PictureFile.isEmpty() ? QString() : lookupPath(recipe.PictureFile);
    if (!picture.isEmpty()) {
        graphic.ContentFile = picture;
        loadPicture(graphic, notices);
    }

    TGFXL& devices = elements[kCookingDevices];
    devices.ContentFile.clear();
    setFlags(devices, true, true, 0);
    const QByteArrayList names = CollectDevices(recipe);
    if (!names.isEmpty()) {
        devices.ContentFile = deviceStripPath(base);
        if (!BuildDeviceStrip(devices.ContentFile, names, base, error))
            return false;
        loadPicture(devices, notices);
    }
    return true;
}

bool insideFolder(const QString& path, const QString& folder)
{
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalPath = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return !canonicalFolder.isEmpty() && canonicalPath == canonicalFolder;
}

} // namespace

QString previewTempFolder(const QString& baseFolder)
{
    // Each run has its own, so two programs in one base folder never share or clear
    // each other's files.
    return runTempFolder(baseFolder);
}

QString scratchFilePath(const QString& baseFolder)
{
    return previewTempFolder(baseFolder) + QLatin1String(kScratchName);
}

QString contentFilePath(const QString& baseFolder, const QString& recipeFileName, int i)
{
    return previewTempFolder(baseFolder) + recipeFileName +
           QStringLiteral("%1").arg(i + 1, 3, 10, QLatin1Char('0'));
}

QString deviceStripPath(const QString& baseFolder)
{
    return previewTempFolder(baseFolder) + QLatin1String(kStripName);
}

bool FillElementsFromRecipe(ElementArray& elements, TKVG& recipe, const QString& baseFolder,
                            rich::RichDocument& scratch, QString* error, QStringList* notices)
{
    if (elements.size() < kElementCount)
        return false;
    if (!QDir().mkpath(previewTempFolder(baseFolder))) {
        if (error)
            *error =
                QStringLiteral("Cannot create the folder %1.").arg(previewTempFolder(baseFolder));
        return false;
    }
    if (!fillTexts(elements, recipe, baseFolder, scratch, error, notices) ||
        !fillName(elements[kRecipeName], recipe, baseFolder, scratch, error) ||
        !fillOtherNotes(elements[kOtherNotes], recipe, baseFolder, scratch, error) ||
        !fillShoppingList(elements[kShoppingList], recipe, baseFolder, scratch, error) ||
        !fillPictures(elements, recipe, baseFolder, error, notices))
        return false;
    clearScratch(scratch);
    return true;
}

bool LoadPictureElement(TGFXL& element, QSize sheet, QString* error)
{
    // Either way round: a draft may turn the sheet after the picture was loaded.
    const int side = std::max(sheet.width(), sheet.height());
    PictureBounds bounds;
    if (side > 0) {
        bounds.metafile = QSize(side, side);
        bounds.raster = bounds.metafile * kPictureKeptDpi / rich::kScreenDpi;
    }
    QImage picture = loadPicture(element.ContentFile, error, bounds);
    if (picture.isNull())
        return false;
    if (picture.hasAlphaChannel()) { // printed on white paper, as the sheet shows it
        QImage onWhite(picture.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter painter(&onWhite);
        painter.drawImage(0, 0, picture);
        painter.end();
        picture = onWhite;
    }
    element.Picture = picture;
    element.Bitmap = QImage();
    FitPictureElement(element, sheet);
    return true;
}

void FitPictureElement(TGFXL& element, QSize sheet)
{
    if (element.Picture.isNull())
        return;
    const QSize border(2 * kPictureBorder, 2 * kPictureBorder);
    QSize shown = element.Picture.size();
    const QSize room = sheet - border;
    if (!sheet.isEmpty() && (shown.width() > room.width() || shown.height() > room.height()))
        shown = shown.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    if (element.Bitmap.size() == shown + border)
        return;
    QImage bitmap = rich::newScreenImage(shown + border);
    QPainter painter(&bitmap);
    if (shown == element.Picture.size()) {
        painter.drawImage(kPictureBorder, kPictureBorder, element.Picture);
    } else {
        painter.drawImage(
            QPoint(kPictureBorder, kPictureBorder),
            element.Picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    painter.end();
    element.Bitmap = bitmap;
}

bool BuildDeviceStrip(const QString& path, const QByteArrayList& names, const QString& baseFolder,
                      QString* error)
{
    if (names.isEmpty())
        return true;
    QImage strip(int(names.size()) * kDeviceIconSize, kDeviceIconSize, QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter painter(&strip);
        for (int k = 0; k < names.size(); ++k) {
            const QString icon =
                lookupPath(baseFolder + QStringLiteral("Graphic/PNG/ENG/") +
                           cp1252::toUnicode(names.at(k)) + QStringLiteral(".png"));
            const QImage picture = icon.isEmpty() ? QImage() : loadPicture(icon);
            if (!picture.isNull())
                painter.drawImage(QPoint(k * kDeviceIconSize, 0), picture,
                                  QRect(0, 0, kDeviceIconSize, kDeviceIconSize));
        }
    }
    const QRgb background = strip.pixel(0, 0);
    const int width = strip.width();
    for (int y = 0; y < strip.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (line[x] == background)
                line[x] = qRgb(255, 255, 255);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "BMP");
    return writeFileAtomically(path, bytes, error, Durability::Scratch);
}

void DeletePreviewFiles(const ElementArray& elements, const QString& baseFolder)
{
    const QString folder = previewTempFolder(baseFolder);
    for (int i = 0; i < elements.size(); ++i) {
        const QString& file = elements.at(i).ContentFile;
        if (i == kDifficulty || i == kRecipeGraphic || file.isEmpty())
            continue;
        if (insideFolder(file, folder))
            removeFile(file);
    }
    removeFile(scratchFilePath(baseFolder));
}

QStringList RemoveLeftoverPreviewFiles(const QString& baseFolder)
{
    // The content files of an element (".vrez001" to ".vrez009" after the recipe's file
    // name, "Element001.qzt" and on for an empty deluxe column that was edited).
    static const QRegularExpression contentName(
        QStringLiteral("(\\.vrez00[1-9]|^Element\\d{3}\\.qzt)$"),
        QRegularExpression::CaseInsensitiveOption);
    // Earlier versions kept them in TEMP/ itself, not in a folder of their run.
    const QString folder = lookupPath(baseFolder + QStringLiteral("TEMP/"));
    if (folder.isEmpty())
        return {};
    QStringList removed;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const bool ours = contentName.match(name).hasMatch() ||
                          name.compare(QLatin1String(kStripName), Qt::CaseInsensitive) == 0 ||
                          name.compare(QLatin1String(kScratchName), Qt::CaseInsensitive) == 0;
        if (ours && removeFile(dir.filePath(name)))
            removed << name;
    }
    return removed;
}
