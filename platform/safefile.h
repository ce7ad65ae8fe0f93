#pragma once

#include <QByteArray>
#include <QString>

/// Replaces (or creates) the file at path with bytes: the bytes go to a temporary file
/// in the same folder, which is flushed to disk and then renamed over the old file, so
/// a crash or a full disk never leaves a half-written file behind. On failure the old
/// file is untouched and error (if given) says what went wrong, naming the file.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

/// Reads a whole file. On failure returns false and sets error (naming the file).
bool readWholeFile(const QString& path, QByteArray* bytes, QString* error = nullptr);
