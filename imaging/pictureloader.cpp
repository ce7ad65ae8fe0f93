// SPDX-License-Identifier: GPL-2.0-or-later

#include "imaging/pictureloader.h"

#include "imaging/metafile.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

namespace {

/// Raster formats read through Qt, by the name its readers give them.
const QList<QByteArray>& rasterFormats()
{
    static const QList<QByteArray> formats{"png", "jpeg", "bmp", "ico", "gif"};
    return formats;
}

/// Lets Qt's readers allocate what a picture of our largest size needs, 8 bytes a pixel
/// for a 16-bit PNG: their own default limit (128 MB) would refuse a 34-megapixel photo
/// with a message that says nothing about its size. Qt takes the limit in whole MB and
/// refuses images above it, so the limit is rounded up.
void allowOurLargestPicture()
{
    static const bool once = [] {
        constexpr qint64 kBytesPerPixel = 8;
        constexpr qint64 kMegabyte = 1024 * 1024;
        QImageReader::setAllocationLimit(
            int((kMaxPicturePixels * kBytesPerPixel + kMegabyte - 1) / kMegabyte));
        return true;
    }();
    Q_UNUSED(once);
}

QImage readRaster(QByteArray& bytes, QSize bound, QString* why)
{
    allowOurLargestPicture();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Only the formats the program offers: other readers (SVG, for one) are not for
    // recipe pictures and would widen what a hostile file can reach.
    if (!rasterFormats().contains(reader.format())) {
        *why = reader.format().isEmpty() ? QStringLiteral("unknown picture format")
                                         : QStringLiteral("pictures of type %1 are not supported")
                                               .arg(QString::fromLatin1(reader.format()));
        return {};
    }
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels) {
        *why = QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 million)")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(kMaxPicturePixels / 1000000);
        return {};
    }
    const bool larger = size.isValid() && !bound.isEmpty() &&
                        (size.width() > bound.width() || size.height() > bound.height());
    if (larger)
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull())
        *why = reader.errorString();
    return image;
}

} // namespace

QImage loadPicture(const QString& path, QString* error, const PictureBounds& bounds)
{
    const QString found = lookupPath(path);
    if (found.isEmpty()) {
        if (error)
            *error = QStringLiteral("Picture \"%1\" not found").arg(QDir::toNativeSeparators(path));
        return {};
    }
    // Through the guarded reader, so a stored picture path never reads a device or FIFO.
    QByteArray bytes;
    if (!readWholeFile(found, &bytes, error, kPictureFileLimit))
        return {};
    QString why;
    QImage image;
    const MetafileKind kind = metafileKind(bytes);
    if (kind != MetafileKind::None) {
        const QSize size = metafileNaturalSize(bytes, kind);
        if (qint64(size.width()) * size.height() > kMaxPicturePixels)
            why = QStringLiteral("the picture is too large (%1 x %2 pixels; at most %3 million)")
                      .arg(size.width())
                      .arg(size.height())
                      .arg(kMaxPicturePixels / 1000000);
        else
            image = renderMetafile(bytes, kind, &why, Isolation::ChildProcess, bounds.metafile);
    } else if (bytes.isEmpty()) {
        why = QStringLiteral("the file is empty");
    } else {
        image = readRaster(bytes, bounds.raster, &why);
    }
    if (image.isNull() && error)
        *error = QStringLiteral("Cannot read picture \"%1\": %2")
                     .arg(QDir::toNativeSeparators(found), why);
    return image;
}

QStringList pictureFilePatterns()
{
    return {QStringLiteral("*.bmp"), QStringLiteral("*.ico"), QStringLiteral("*.emf"),
            QStringLiteral("*.wmf"), QStringLiteral("*.png"), QStringLiteral("*.jpg"),
            QStringLiteral("*.jpeg"), QStringLiteral("*.gif")};
}
