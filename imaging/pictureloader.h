// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "imaging/metafile.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Loading pictures (interface pictures and recipe pictures) into images at their
// natural size, or smaller where they are used smaller: PNG, JPEG, BMP, ICO and GIF
// through Qt, WMF and EMF metafiles through their converters. Paths are looked up
// case-insensitively, as on Windows.

/// Pictures with more pixels than this are refused.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;

/// The largest size a picture is wanted at, by kind: a larger one comes back scaled down
/// to fit (aspect kept). A metafile is drawn at that size; a raster is read at it, and an
/// empty raster bound keeps its own size.
struct PictureBounds {
    QSize metafile = kMetafileDrawLimit;
    QSize raster;
};

/// Loads the picture at path within bounds. On failure returns a null image and sets
/// error to a message that names the file.
QImage loadPicture(const QString& path, QString* error = nullptr, const PictureBounds& bounds = {});

/// The file name patterns of every format loadPicture reads.
QStringList pictureFilePatterns();
