#include "imaging/pictureloader.h"

#include "platform/filelookup.h"

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
    QImageReader reader(found);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull() && error) {
        *error = QStringLiteral("Cannot read picture \"%1\": %2")
                     .arg(QDir::toNativeSeparators(found), reader.errorString());
    }
    return image;
}
