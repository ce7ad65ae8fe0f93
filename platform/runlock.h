// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Several programs may work in one base folder at once: two windows, an import in a
// terminal beside the window, a script. Each run holds a lock (flock) on
// PRGDATA/running/<tag>.lock for as long as it runs, with the tag of runTag(); its
// temporary files carry that tag and its preview files lie in TEMP/<tag>/. The lock is
// the operating system's: it goes with the process, however the process ends. So
// start-up clears exactly the files of runs that have ended, and never those of a run
// that still works.

/// Takes this run's lock in baseFolder (a folder ending in "/"); later calls for the
/// same folder do nothing. False when the lock cannot be made (a read-only folder).
bool holdRunLock(const QString& baseFolder);

/// True when the run with this tag may still be working in baseFolder: it is this run,
/// or a process holds its lock.
bool runIsAlive(const QString& baseFolder, const QString& tag);

/// The folder of this run's preview files (or of the run with tag): TEMP/<tag>/.
QString runTempFolder(const QString& baseFolder);
QString runTempFolder(const QString& baseFolder, const QString& tag);

/// Removes what runs that have ended left in baseFolder: their lock files and preview
/// folders below TEMP/. Returns the tags of the preview folders removed.
QStringList removeEndedRuns(const QString& baseFolder);

/// The number of other runs working in baseFolder now.
int otherLiveRuns(const QString& baseFolder);
