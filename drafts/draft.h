// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A print draft: a layout of the preview without its contents, as draft files store it.

/// Where a draft puts one element.
struct TElementPlacement {
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Page = -1;
};

/// A print draft: a layout without its contents.
struct TDruckvorlage {
    QString DraftFile;
    QString Spare;
    QString DisplayName;
    QStringList SpareLines;
    QStringList DraftComments;
    qint32 LayoutKind = 0;
    qint32 PaperFormat = 2;
    bool Landscape = false;
    qint32 LastPage = 0;
    QList<TElementPlacement> Placements; ///< empty: the draft places no element
};

/// The one current draft of the run; it starts empty and places no element.
TDruckvorlage& CurrentDraft();
