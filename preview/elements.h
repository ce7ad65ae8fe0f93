// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// The thirteen print elements of the preview: every part of a recipe that can be laid
// out on a page. The index is an element's identity everywhere.

inline constexpr int kElementCount = 13;

/// Indexes of the elements.
enum ElementIndex : int {
    kComments = 0,
    kIngredients = 1,
    kDescription = 2,
    kQuantity = 3, ///< first of the deluxe column group 3 to 6
    kUnit = 4,
    kIngredientName = 5,
    kPreparation = 6, ///< last of the deluxe column group
    kRecipeName = 7,
    kOtherNotes = 8,
    kDifficulty = 9,
    kRecipeGraphic = 10,
    kCookingDevices = 11,
    kShoppingList = 12,
};

/// Gap in pixels between two neighbouring deluxe columns.
inline constexpr int kColumnGap = 10;

/// The white border, in pixels, around the picture in a picture element's bitmap.
inline constexpr int kPictureBorder = 1;

/// Names belonging to one element: its caption and its controls in the window.
struct ElementInfo {
    const char* caption;
    const char* image;    ///< image control
    const char* richEdit; ///< rich edit it is rendered with ("REConvert" for pictures)
};

const ElementInfo& elementInfo(int index);

inline bool isColumn(int index)
{
    return index >= kQuantity && index <= kPreparation;
}
inline bool isPictureElement(int index)
{
    return index >= kDifficulty && index <= kCookingDevices;
}

/// One print element. Coordinates are sheet pixels; the size is the bitmap's.
struct TGFXL {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 AnchorWidth = 50;
    qint32 AnchorHeight = 50;
    qint32 AnchorLeft = 0;
    qint32 AnchorTop = 0;
    qint32 GrabX = 0;
    qint32 GrabY = 0;
    bool Active = false;
    qint32 DragMode = 0;
    bool Shown = false;
    QImage Bitmap;
    /// A picture element's picture in its own pixels (composed on white), which the
    /// bitmap shows inside its border, scaled down when it is larger than the sheet;
    /// printing draws from these pixels then. Null for text elements.
    QImage Picture;
    QString ContentFile; ///< empty: no content
    bool IsPicture = false;
    qint32 Page = -1; ///< 0, 1, or -1 on no page
    bool WholeTextFont = false;
    qint32 ColumnGroup = 0;
    QString Caption;

    int width() const { return Bitmap.width(); }
    int height() const { return Bitmap.height(); }
};

using ElementArray = QList<TGFXL>;

enum class ResetMode { Create, Release };

/// Create: the array becomes 13 fresh elements with empty bitmaps. Release: the array
/// and its bitmaps are freed (a second release does nothing).
void ResetElements(ElementArray& elements, ResetMode mode);

/// Lowest index of an active element, or 12 when none is active.
int ActiveElementIndex(const ElementArray& elements);

/// Keeps the column group in one row after column i (3 to 6) was laid out: the others
/// take its Top, and each column starts kColumnGap pixels right of the one before it,
/// so the row hangs on column 3.
void AlignColumns(ElementArray& elements, int i);

/// The size of the row of deluxe columns: from the quantity column's left edge to the
/// right edge of the last of them, as high as the highest.
QSize ColumnGroupSize(const ElementArray& elements);

/// Elements that a layout put below the top of the deluxe column row, on its page and
/// across its width, start at least gap pixels below the row's bottom: when the columns
/// of a recipe are longer than those the layout was made with, the first of them and
/// every element on that page starting at or below it move down by the same amount.
/// Returns the elements moved.
QList<int> MakeRoomBelowColumns(ElementArray& elements, int gap);
