#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Loading pictures (interface pictures and recipe pictures) into images at their
// natural size: PNG, JPEG, BMP, ICO and GIF through Qt, WMF and EMF metafiles through
// their converters. Paths are looked up case-insensitively, as on Windows.

/// Pictures with more pixels than this are refused.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

/// Loads the picture at path. On failure returns a null image and sets error to a
/// message that names the file.
QImage loadPicture(const QString& path, QString* error = nullptr);

/// The file name patterns of every format loadPicture reads.
QStringList pictureFilePatterns();
