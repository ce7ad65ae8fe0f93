// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// File lookup that behaves like the Windows file system the program's files come from:
// names are found case-insensitively, and wildcard enumeration matches extensions
// regardless of case and keeps the directory's own order.

/// The existing path for path: path itself when it exists, otherwise the path whose
/// components match path's components case-insensitively (the first match in directory
/// order). Empty when nothing matches.
QString lookupPath(const QString& path);

/// True when lookupPath finds something.
bool pathExists(const QString& path);

/// Names of the regular files (and links to them) in folder whose name matches pattern
/// (for example "*.vrez"), case-insensitively, in the order the directory lists them.
/// Matching names that are not valid UTF-8 cannot be opened as Qt paths: they are left
/// out and put into undecodableNames, decoded as Windows-1252 for showing.
QStringList enumerateFiles(const QString& folder, const QString& pattern,
                           QStringList* undecodableNames = nullptr);

/// The folder part of a path built by the program with "/" or "\" separators and the
/// file name after the last of them.
QString fileNameOf(const QString& path);

/// Looks up a path stored by another system (a drive letter, backslashes) that does not
/// exist here: first as it stands, then by its file name inside fallbackFolder. Empty
/// when neither exists.
QString lookupForeignPath(const QString& storedPath, const QString& fallbackFolder);

/// A path as the program's Windows-1252 files hold it: in the code page when it can
/// hold every character (so files stay byte-identical for Windows paths), otherwise as
/// UTF-8 bytes.
QByteArray pathToFileText(const QString& path);

/// The path a file's text stands for: its Windows-1252 reading, or its UTF-8 reading
/// when the text is UTF-8 and only that reading names an existing file.
QString fileTextToPath(QByteArrayView text);
