// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QRect>
#include <QString>
#include <array>

// The small pictures that mirror a recipe's state: printed-matter icons, device slots,
// difficulty stars, the calendar picture and the recipe picture. The editor shows them
// all; the main window shows the recipe picture and the first three devices of the
// selected recipe. Each window registers the controls it has; a missing or destroyed
// control is skipped.

struct PrintedMatterIcon {
    QPointer<QLabel> icon;    ///< IOrdner, IZeitschrift, IBuch
    QPointer<QLineEdit> edit; ///< Ordner, Zeitschrift, Buch: an empty one greys the icon
    int number = 0;           ///< icon number: 3 ring binder, 4 magazine, 5 book
};

struct DecorationLabels {
    QPointer<QLabel> mainPicture;                      ///< the main window's IRezept
    std::array<QPointer<QLabel>, 3> mainDevices;       ///< IKoch01 to IKoch03
    QPointer<QLabel> editorPicture;                    ///< the editor's IRezeptgrafik
    QPointer<QFrame> editorPictureFrame;               ///< Panel1, fitted to the picture
    QPointer<QLabel> editorPictureName;                ///< LGrafikvolldateiname
    std::array<QPointer<QLabel>, 7> editorDeviceSlots; ///< KochgeraetImage1 to 7
    QPointer<QLabel> editorDevicePanel; ///< IIconlisteBack, whose tip empty slots carry
    std::array<PrintedMatterIcon, 3> printedMatter;
    QPointer<QComboBox> editorDifficulty; ///< CBKochlevel
    QPointer<QLabel> editorStars;         ///< IKochlevel
    QPointer<QLabel> editorCalendar;      ///< IKochdatum
};

/// The controls every window has registered.
DecorationLabels& Decorations();

/// The picture at path, decoded once and kept while the file stays as it is: the
/// pictures are shown again on every keystroke in the fields they follow. A null pixmap
/// when the file cannot be read.
QPixmap cachedPicture(const QString& path, QString* error = nullptr);

/// The picture file shown for a recipe: its PictureFile when that file exists,
/// otherwise the "no picture" placeholder below the base folder.
QString recipePicturePath(const TKVG* recipe);
/// Picture file of a cooking device.
QString devicePicturePath(const QByteArray& device);
/// The 24-pixel icon number n (1 normal, 2 deluxe, 3 ring binder, 4 magazine, 5 book),
/// in its grey form for an empty field.
QString smallIconPath(int n, bool grey);

/// How a cooking date relates to today.
enum class CookingDay { Earlier, Today, Later };
CookingDay cookingDayOf(double lastCooked, const QDate& today);
/// The calendar picture of a cooking day.
QString calendarPicturePath(CookingDay day);

/// Where the picture frame and the picture sit for a picture of the given size: the
/// frame shrinks to a smaller picture and stays centred horizontally on its usual
/// place; a larger picture is cut at the frame.
struct PictureFrameGeometry {
    QRect frame; ///< Panel1 in the window
    QRect image; ///< IRezeptgrafik in the frame
};
PictureFrameGeometry fitRecipePictureGeometry(const QSize& picture);

/// Sizes the editor's picture frame to the picture it shows.
void FitRecipePicture();

/// Shows the printed-matter icons and the device pictures of catalogue entry index (-1:
/// none): the first three in the main window, all seven slots in the editor, each with
/// the device name as hint. Normalises the recipe's Devices.
void ShowDevicePictures(TKV& kv, int index);

/// Shows the difficulty stars, the calendar picture and the recipe picture of catalogue
/// entry index (-1: none) in the editor, and the recipe picture in the main window.
void ShowEditorDecorations(const TKV& kv, int index);
