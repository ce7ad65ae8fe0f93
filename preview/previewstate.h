// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "drafts/draft.h"
#include "preview/elements.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// The state of the open preview, and the layouts it applies: a draft's, or the
// default one when no usable standard draft gives one.

/// The paper format a preview starts on: "Letter (US)".
inline constexpr int kDefaultFormatIndex = 2;

struct PreviewState {
    qint32 PreviewKind = 0;                   ///< 0 normal layout, 1 deluxe layout
    qint32 CurrentPage = 0;                   ///< page shown: 0 or 1
    qint32 LastPageIndex = 0;                 ///< 0 one page, 1 two pages
    qint32 FormatIndex = kDefaultFormatIndex; ///< row of the paper format table
    bool Landscape = false;
    qint32 MouseX = 0;
    qint32 MouseY = 0;
};

/// Copies the draft's layout into the preview state and elements: kind, format,
/// orientation and page count (at most two pages), page 1 current, and each placed
/// element's position and page (an element without content, or placed on a page other
/// than -1, 0 or 1, lies on no page). Placements beyond the thirteenth are ignored;
/// elements without a placement keep their state. Returns the indexes of the elements
/// placed.
QList<int> applyDraftLayout(const TDruckvorlage& draft, PreviewState& state,
                            ElementArray& elements);

/// Gap in pixels between the rows of the default layout, and between the pictures of
/// one row.
inline constexpr int kDefaultLayoutGap = 10;

/// The layout used when no usable standard draft gives one: the elements with content
/// in reading order, row below row from the sheet's top-left corner with a gap of
/// kDefaultLayoutGap: the name; the recipe picture, difficulty and cooking devices side
/// by side (as many as fit the sheet's width); the ingredients, in the deluxe layout the
/// four columns side by side as they are aligned; the description, comments, other
/// notes and the shopping list. A row that does not fit below the rows before it starts
/// page 2 (the sheet is filled from the top again). Sizes are the elements' bitmaps;
/// elements without content lie on no page, and so do the ingredients the layout kind
/// does not use (the deluxe columns in the normal layout, the list in the deluxe one).
/// One placement per element.
QList<TElementPlacement> defaultPlacements(const ElementArray& elements, QSize sheet, int kind = 0);
