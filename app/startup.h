// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipefile.h"

#include <QList>
#include <QString>

/// The base folder of a run: the current folder, with a trailing separator.
QString currentBaseFolder();

/// Removes the temporary files a crash during a save left in the recipe folder and in
/// the settings folder.
void removeLeftoverFiles(const QString& baseFolder);

/// The file steps of start-up: leftover temporary files are removed, old recipe files
/// are converted, the catalogue is read
/// and sorted by name. Problems with single files are collected, never fatal.
void loadCatalogueAtStartup(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems);
