#include "imaging/pictureloader.h"

#include "platform/filelookup.h"
#include "platform/safefile.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

QImage loadPicture(const QString& path, QString* error)
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
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull() && error) {
        *error = QStringLiteral("Cannot read picture \"%1\": %2")
                     .arg(QDir::toNativeSeparators(found), reader.errorString());
    }
    return image;
}
