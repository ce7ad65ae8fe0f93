// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

// The user's settings and their file "PRGDATA/Options.kv" below the base folder:
// five lines of Windows-1252 text ended by CR LF.

inline constexpr char kOptionsHeader[] = "[KV 2.00]";

struct Settings {
    int tooltips = 1;          ///< 1 tooltips on, 0 off
    QString lastPictureFolder; ///< where the recipe-picture dialog opens
    int formatIndex = 0;       ///< paper format, 0 to 4
    bool landscape = false;
};

/// The settings before the file is read: tooltips on, the base folder as picture
/// folder, paper format 0, portrait.
Settings initialSettings(const QString& baseFolder);

/// Path of the options file below a base folder (an existing file under another case of
/// its name is found).
QString optionsFilePath(const QString& baseFolder);

/// Writes the options file from settings, with tooltips forced on, unless the file
/// exists. Returns false with error when it cannot be written.
bool CreateDefaultOptions(const QString& baseFolder, const Settings& settings,
                          QString* error = nullptr);

enum class OptionsRead {
    Read,        ///< the settings were taken from the file
    WrongHeader, ///< the first line is not the expected header; nothing changed
    Failed,      ///< the file cannot be read or holds a malformed number; nothing changed
};

/// Reads the settings from the options file. Lines missing at the end of a short file
/// leave their settings as they were; a paper format outside 0 to 4 leaves the paper
/// format as it was.
OptionsRead ReadOptions(const QString& baseFolder, Settings& settings, QString* error = nullptr);

/// Replaces the options file with the current settings. Returns false with error when
/// it cannot be written; the old file is then untouched.
bool WriteOptions(const QString& baseFolder, const Settings& settings, QString* error = nullptr);

/// The bytes of an options file for settings.
QByteArray optionsFileBytes(const Settings& settings);
