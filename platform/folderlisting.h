// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

// Case-insensitive name lookup in a folder through a kept listing of the folder: the
// first lookup lists the folder once, later ones cost a stat of the folder and a hash
// lookup. A listing is read again when the folder's modification time has changed (so
// files that others add, rename or delete are seen), while that time is too recent to
// tell later changes apart (file times follow a coarse clock), and after the program
// itself changed a file there (forgetFolderListingOf), which also covers file systems
// whose folder times are coarse.

/// The real name of the entry of folder (files, folders and links alike) whose name
/// equals name case-insensitively: the first match in directory order. Empty when there
/// is none or folder is no folder (isFolder, when given, tells which). An empty folder
/// means the current folder.
QString findEntryCaseInsensitive(const QString& folder, const QString& name,
                                 bool* isFolder = nullptr);

/// Drops the kept listing of the folder holding path, after the program created,
/// replaced or removed the file at path.
void forgetFolderListingOf(const QString& path);
