// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// The Windows icon container: a directory of images, each stored as a 32-bit
// device-independent bitmap with its transparency mask, or as PNG for 256-pixel images
// (as Windows itself stores large icons). Qt's own ICO writer stores one image per file,
// so several sizes in one program icon need this.

namespace gfx {

/// The bytes of an icon file holding the images in the order given. Images must be
/// 1 to 256 pixels wide and high.
QByteArray icoFileBytes(const QList<QImage>& images);

} // namespace gfx
