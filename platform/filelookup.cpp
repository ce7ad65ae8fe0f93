// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/filelookup.h"

#include "platform/cp1252.h"
#include "platform/folderlisting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The path with its components matched one by one: the exact ones that exist are kept,
// the others replaced by a case-insensitive match. Empty when a component has none.
QString walkComponents(const QString& path)
{
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

// A wildcard pattern as QDir::match applies it (case-insensitively, several patterns
// separated by ";" or blanks), built once for a whole folder. The usual "*.vrez" is
// decided on the name's bytes without a regular expression.
class NameFilter {
public:
    explicit NameFilter(const QString& pattern)
    {
        static const QRegularExpression simple(QStringLiteral("^\\*(\\.[A-Za-z0-9]+)$"));
        const QRegularExpressionMatch match = simple.match(pattern);
        m_everyName = pattern == QLatin1String("*");
        if (match.hasMatch())
            m_suffix = match.captured(1).toLatin1();
        for (const QString& filter : QDir::nameFiltersFromString(pattern))
            m_filters << QRegularExpression(QRegularExpression::wildcardToRegularExpression(filter),
                                            QRegularExpression::CaseInsensitiveOption);
    }

    enum Verdict { No, Yes, AskTheName };

    /// What the name's bytes tell.
    Verdict byBytes(QByteArrayView raw) const
    {
        if (m_everyName)
            return Yes;
        if (m_suffix.isEmpty())
            return AskTheName;
        if (raw.size() < m_suffix.size())
            return No;
        const QByteArrayView end = raw.last(m_suffix.size());
        // Other letters may fold to ASCII ones: bytes above 127 leave it to the name.
        for (char c : end) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return AskTheName;
        }
        return qstrnicmp(end.data(), m_suffix.constData(), size_t(end.size())) == 0 ? Yes : No;
    }

    bool operator()(QByteArrayView raw, const QString& name) const
    {
        const Verdict verdict = byBytes(raw);
        if (verdict != AskTheName)
            return verdict == Yes;
        return std::any_of(
            m_filters.cbegin(), m_filters.cend(),
            [&name](const QRegularExpression& f) { return f.match(name).hasMatch(); });
    }

private:
    bool m_everyName = false;
    QByteArray m_suffix; // ".vrez" of "*.vrez"
    QList<QRegularExpression> m_filters;
};

} // namespace

QString lookupPath(const QString& path)
{
    if (path.isEmpty())
        return {};
    if (QFileInfo::exists(path))
        return path;
    // The usual miss: a file name in a folder that exists as written costs one lookup
    // in that folder's kept listing.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString name = path.mid(slash + 1);
    // A missing file (a side file a copied collection lacks) costs the look at the
    // folder that the kept listing needs anyway, and no more.
    if (slash > 0 && !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")) {
        bool isFolder = false;
        const QString found = findEntryCaseInsensitive(path.left(slash + 1), name, &isFolder);
        if (isFolder)
            return found.isEmpty() ? QString() : path.left(slash + 1) + found;
    }
    return walkComponents(path);
}

bool pathExists(const QString& path)
{
    return !lookupPath(path).isEmpty();
}

QStringList enumerateFiles(const QString& folder, const QString& pattern,
                           QStringList* undecodableNames)
{
    const QString existing = lookupPath(folder);
    if (existing.isEmpty())
        return {};
    const QByteArray encodedFolder = QFile::encodeName(existing);
    DIR* dir = ::opendir(encodedFolder.constData());
    if (!dir)
        return {};
    const NameFilter matches(pattern);
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView raw(entry->d_name);
        // Without regular-file checks a pipe, socket or device could be listed, and
        // reading a pipe waits for a writer for ever.
        bool regular = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            const int fd = ::dirfd(dir);
            regular = ::fstatat(fd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!regular)
            continue;
        if (matches.byBytes(raw) == NameFilter::No)
            continue;
        if (!raw.isValidUtf8()) {
            // Qt cannot open such a name, so it cannot be listed as a file; it is
            // handed back, shown as Windows-1252 (as an old archive wrote it), to be
            // reported instead of silently skipped.
            const QString shown = cp1252::toUnicode(raw);
            if (undecodableNames && matches(raw, shown))
                undecodableNames->append(shown);
            continue;
        }
        const QString name = QString::fromUtf8(raw);
        if (matches(raw, name))
            names << name;
    }
    ::closedir(dir);
    return names;
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
    const QString beside = folder + name;
    return beside == storedPath ? QString() : lookupPath(beside);
}

QByteArray pathToFileText(const QString& path)
{
    // A path the code page cannot hold would come back with "?" and point nowhere:
    // store it as UTF-8 instead, which fileTextToPath finds again.
    for (QChar c : path) {
        if (!cp1252::canEncode(c))
            return path.toUtf8();
    }
    return cp1252::fromUnicode(path);
}

QString fileTextToPath(QByteArrayView text)
{
    const QString windows = cp1252::toUnicode(text);
    // Only text with bytes above 127 can read differently as UTF-8. Such a text that
    // is valid UTF-8 is taken as UTF-8 when its Windows-1252 reading names no file.
    bool plain = true;
    for (char c : text)
        plain = plain && static_cast<unsigned char>(c) < 0x80;
    if (plain)
        return windows;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString unicode = utf8.decode(text);
    if (utf8.hasError() || lookupPath(windows).size() > 0 || lookupPath(unicode).isEmpty())
        return windows;
    return unicode;
}
