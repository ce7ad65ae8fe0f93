#pragma once

#include "preview/elements.h"
#include "preview/pagegeometry.h"
#include "preview/previewstate.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// The copies between the preview and a draft, the thumbnail of a page, and the rules of
// the draft and print format windows that need no window.

/// Placements := one entry per element, in element order, with its Left, Top and Page.
void CapturePlacements(TDruckvorlage& draft, const ElementArray& elements);

/// Takes the rest of a layout into draft when it is saved: the preview's layout kind,
/// paper format, orientation and page count, and the name and comment lines the user
/// gave (commentText split into lines; no lines when it is empty).
void CaptureLayout(TDruckvorlage& draft, const PreviewState& state, const QString& name,
                   const QString& commentText);

/// The thumbnail of a page: a white picture of the sheet's size with the bitmap of each
/// element on that page copied at its place, later elements over earlier ones.
QImage DrawThumbnail(const ElementArray& elements, int page, QSize sheet);

/// The file a draft chosen in the save dialog is written to: the file name of chosen in
/// folder (a folder chosen in the dialog is not taken), with ".kvp" added unless the
/// name holds ".KVP" in any case.
QString draftFileForChoice(const QString& folder, const QString& chosen);

/// "8.27 inch x 11.69 inch": the paper's inch sizes with two decimals, the height first
/// for landscape.
QString paperSizeInches(const TDruckModi& format, bool landscape);
/// The same in centimetres ("21.00 cm x 29.70 cm").
QString paperSizeCentimetres(const TDruckModi& format, bool landscape);

/// The outline of a page in the print format window: 60 x 70 for portrait, 100 x 60
/// for landscape, white with a black border of one pixel.
QImage pageOutline(bool landscape);

/// One draft of the load window's list.
struct TDraftFileList {
    int position = -1; ///< line in the list; -1 until it is listed
    QString displayName;
    QString path;
};

/// The drafts of layout kind in folder: every "*.kvp" file in the order the folder lists
/// them whose draft reads and is of that kind, with its display name. Unreadable files
/// and drafts of the other kind are left out; positions are the list lines.
QList<TDraftFileList> BuildDraftList(const QString& folder, int kind);
