// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/folderlisting.h"

#include <QFile>
#include <QHash>

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

namespace {

// File times come from a clock that advances in ticks of a few milliseconds: a change
// within this time after a listing may leave the folder's time as it was, so a listing
// is trusted only once its folder's time is older than this.
constexpr qint64 kSettleNs = 50'000'000;

struct Listing {
    // The folder's modification time and its status change time, which every change of
    // an entry sets and which, unlike the former, cannot be set back by tools that copy
    // times (a folder removed and made anew may also come back with the same inode).
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    bool settled = false;
    // Every real name in directory order as the file system holds it (a byte per
    // character for most names), each followed by "/", which no name holds.
    QByteArray names;
    // Hash of a case-folded name to the start of the first name in names with that
    // hash: a few bytes per name. Different folded names rarely share a hash; a name
    // whose hash leads to another is looked for through all names.
    QHash<size_t, qsizetype> starts;

    QByteArrayView nameAt(qsizetype start) const
    {
        return QByteArrayView(names).sliced(start, names.indexOf('/', start) - start);
    }
    QString find(const QString& name) const;
};

using FolderId = std::pair<quint64, quint64>; // device and inode: one key per folder

QHash<FolderId, Listing>& listings()
{
    static QHash<FolderId, Listing> kept;
    return kept;
}

qint64 nanoseconds(const timespec& time)
{
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// The same folding as QString::compare with Qt::CaseInsensitive: code point by code
// point, so two names compare equal exactly when their folded forms are equal.
QString folded(const QString& name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            out += QChar(QChar::highSurrogate(c));
            out += QChar(QChar::lowSurrogate(c));
        } else {
            out += QChar(c);
        }
    }
    return out;
}

QByteArray encodedFolder(const QString& folder)
{
    return QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
}

void readListing(Listing& listing, const QByteArray& folder, const struct stat& info)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    listing.names.clear();
    listing.starts.clear();
    listing.mtimeNs = nanoseconds(info.st_mtim);
    listing.ctimeNs = nanoseconds(info.st_ctim);
    // Every later change of an entry sets the modification time to a later tick.
    listing.settled = nanoseconds(now) - listing.mtimeNs >= kSettleNs;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    auto isSelfOrParent = [](const dirent* entry) {
        return qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0;
    };
    // Measured first, so the listing is allocated once at its size: it is made while a
    // whole catalogue may be held.
    qsizetype count = 0, bytes = 0;
    while (const dirent* entry = ::readdir(dir)) {
        count += isSelfOrParent(entry) ? 0 : 1;
        bytes += isSelfOrParent(entry) ? 0 : qsizetype(qstrlen(entry->d_name)) + 1;
    }
    listing.names.reserve(bytes);
    listing.starts.reserve(count);
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (isSelfOrParent(entry))
            continue;
        const size_t hash = qHash(folded(QFile::decodeName(entry->d_name)));
        if (!listing.starts.contains(hash)) // the first in directory order wins
            listing.starts.insert(hash, listing.names.size());
        listing.names += entry->d_name;
        listing.names += '/';
    }
    ::closedir(dir);
    listing.names.squeeze();
}

QString Listing::find(const QString& name) const
{
    const QString key = folded(name);
    const auto it = starts.constFind(qHash(key));
    if (it == starts.constEnd())
        return {};
    const QString first = QFile::decodeName(nameAt(it.value()).toByteArray());
    if (folded(first) == key)
        return first;
    for (qsizetype start = 0; start < names.size();) {
        const QByteArrayView raw = nameAt(start);
        const QString candidate = QFile::decodeName(raw.toByteArray());
        if (folded(candidate) == key)
            return candidate;
        start += raw.size() + 1;
    }
    return {};
}

} // namespace

QString findEntryCaseInsensitive(const QString& folder, const QString& name, bool* isFolder)
{
    const QByteArray path = encodedFolder(folder);
    struct stat info {};
    const bool found = ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
    if (isFolder)
        *isFolder = found;
    if (!found)
        return {};
    Listing& listing = listings()[FolderId(info.st_dev, info.st_ino)];
    if (!listing.settled || listing.mtimeNs != nanoseconds(info.st_mtim) ||
        listing.ctimeNs != nanoseconds(info.st_ctim))
        readListing(listing, path, info);
    return listing.find(name);
}

void forgetFolderListingOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : path.left(qMax<qsizetype>(slash, 1));
    struct stat info {};
    if (::stat(encodedFolder(folder).constData(), &info) == 0)
        listings().remove(FolderId(info.st_dev, info.st_ino));
}
