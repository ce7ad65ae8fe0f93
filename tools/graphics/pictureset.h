// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>

// Every picture the installation ships, with its file name, format and size, and the
// desktop icons of the program. The generator writes them; the folder layout is the
// program's: below the base folder, "Graphic/PNG/", "Graphic/PNG/ENG/",
// "Graphic/ICO/24/" and "Graphic/BMP/", and the program icon in the base folder itself.

namespace gfx {

enum class FileFormat { Png, Ico, Bmp };

struct Picture {
    QString path; ///< relative to the output folder, "/" separators
    FileFormat format;
    QList<QSize> sizes; ///< one image per size (several only for icons)
    std::function<QImage(QSize)> render;
};

/// The pictures of the base folder.
QList<Picture> installationPictures();
/// The program icon for desktops, "<n>x<n>/apps/dilboscan.png" at the usual sizes.
QList<Picture> desktopIcons();
/// The program icon at a pixel size.
QImage programIcon(int size);

/// Renders the picture and writes it below folder, creating subfolders as needed.
bool writePicture(const QString& folder, const Picture& picture, QString* error);

} // namespace gfx
