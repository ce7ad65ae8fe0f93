// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "common/options.h"

#include <QString>

// Process-wide state of a run: the base folder every program path is relative to and
// the user's settings. Set up once at start-up; tests set them for their own folder.

/// The base folder with a trailing "/" (the current folder at start-up).
const QString& BaseFolder();
void setBaseFolder(const QString& folder);

/// The settings of this run (read from and written to the options file).
Settings& CurrentSettings();

/// A path below the base folder, found case-insensitively when it exists under another
/// case; otherwise the path as built.
QString basePath(const QString& relative);
