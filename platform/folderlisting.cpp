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
    // Case-folded name to the real name; a null value: the real name is the key itself,
    // which saves a second string for most names.
    QHash<QString, QString> realNames;
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
    listing.realNames.clear();
    listing.mtimeNs = nanoseconds(info.st_mtim);
    listing.ctimeNs = nanoseconds(info.st_ctim);
    // Every later change of an entry sets the modification time to a later tick.
    listing.settled = nanoseconds(now) - listing.mtimeNs >= kSettleNs;
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (qstrcmp(entry->d_name, ".") == 0 || qstrcmp(entry->d_name, "..") == 0)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        const QString key = folded(name);
        if (listing.realNames.contains(key)) // the first in directory order wins
            continue;
        listing.realNames.insert(key, key == name ? QString() : name);
    }
    ::closedir(dir);
}

} // namespace

QString findEntryCaseInsensitive(const QString& folder, const QString& name)
{
    const QByteArray path = encodedFolder(folder);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    Listing& listing = listings()[FolderId(info.st_dev, info.st_ino)];
    if (!listing.settled || listing.mtimeNs != nanoseconds(info.st_mtim) ||
        listing.ctimeNs != nanoseconds(info.st_ctim))
        readListing(listing, path, info);
    const auto it = listing.realNames.constFind(folded(name));
    if (it == listing.realNames.constEnd())
        return {};
    return it.value().isNull() ? it.key() : it.value();
}

void forgetFolderListingOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : path.left(qMax<qsizetype>(slash, 1));
    struct stat info {};
    if (::stat(encodedFolder(folder).constData(), &info) == 0)
        listings().remove(FolderId(info.st_dev, info.st_ino));
}
