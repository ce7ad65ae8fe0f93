#pragma once

#include <QImage>
#include <QString>

// Loading pictures (interface pictures and recipe pictures) into images at their
// natural size. Paths are looked up case-insensitively, as on Windows.

/// Loads the picture at path. On failure returns a null image and sets error to a
/// message that names the file.
QImage loadPicture(const QString& path, QString* error = nullptr);
