#pragma once

#include "recipes/recipefile.h"

#include <QList>
#include <QString>

/// The base folder of a run: the current folder, with a trailing separator.
QString currentBaseFolder();

/// The file steps of start-up: old recipe files are converted, the catalogue is read
/// and sorted by name. Problems with single files are collected, never fatal.
void loadCatalogueAtStartup(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems);
