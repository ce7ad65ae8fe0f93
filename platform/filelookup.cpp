#include "platform/filelookup.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString findEntryCaseInsensitive(const QString& folder, const QString& name)
{
    QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString lookupPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    if (QFileInfo::exists(path))
        return path;
    // Walk the components; keep the exact ones that exist and replace the others by a
    // case-insensitive match.
    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QString();
    for (int i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString exact = current + part;
        QString next;
        if (QFileInfo::exists(exact)) {
            next = exact;
        } else if (part == QLatin1String(".") || part == QLatin1String("..")) {
            return {};
        } else {
            const QString found = findEntryCaseInsensitive(current, part);
            if (found.isEmpty())
                return {};
            next = current + found;
        }
        const bool last = i == parts.size() - 1;
        current = last ? next : next + QLatin1Char('/');
    }
    if (path.endsWith(QLatin1Char('/')) && !current.endsWith(QLatin1Char('/')))
        current += QLatin1Char('/');
    return current;
}

bool pathExists(const QString& path)
{
    return !lookupPath(path).isEmpty();
}

QStringList enumerateFiles(const QString& folder, const QString& pattern)
{
    const QString existing = lookupPath(folder);
    if (existing.isEmpty())
        return {};
    QDir dir(existing);
    // Name filters are case-insensitive unless QDir::CaseSensitive is given. Without
    // QDir::System, pipes, sockets and devices are left out: opening a pipe to read
    // it would wait for a writer for ever.
    return dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Unsorted);
}

QString fileNameOf(const QString& path)
{
    const qsizetype cut =
        qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString lookupForeignPath(const QString& storedPath, const QString& fallbackFolder)
{
    if (storedPath.isEmpty())
        return {};
    const QString direct = lookupPath(storedPath);
    if (!direct.isEmpty())
        return direct;
    const QString name = fileNameOf(storedPath);
    if (name.isEmpty())
        return {};
    QString folder = fallbackFolder;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return lookupPath(folder + name);
}
