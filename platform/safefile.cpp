#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // QSaveFile writes to a temporary file beside the target, syncs it to disk on
    // commit and renames it over the target.
    file.setDirectWriteFallback(false);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok)
        ok = file.write(bytes) == bytes.size();
    if (ok)
        ok = file.commit();
    if (!ok) {
        if (error) {
            *error = QStringLiteral("Cannot write \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        file.cancelWriting();
    }
    return ok;
}

bool readWholeFile(const QString& path, QByteArray* bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        if (error) {
            *error = QStringLiteral("Cannot open \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    *bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        if (error) {
            *error = QStringLiteral("Cannot read \"%1\": %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        }
        return false;
    }
    return true;
}
