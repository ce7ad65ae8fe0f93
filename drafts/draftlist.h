// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QList>
#include <QString>

// The drafts of a draft folder, as the load window lists them, and the file a name
// chosen in the save window is written to.

/// The file a draft chosen in the save dialog is written to: the file name of chosen in
/// folder (a folder chosen in the dialog is not taken), with ".kvp" added unless the
/// name holds ".KVP" in any case.
QString draftFileForChoice(const QString& folder, const QString& chosen);

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
