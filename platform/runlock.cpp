// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/runlock.h"

#include "platform/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString lockFolder(const QString& baseFolder)
{
    return baseFolder + QStringLiteral("PRGDATA/running/");
}

QString lockPath(const QString& baseFolder, const QString& tag)
{
    return lockFolder(baseFolder) + tag + QStringLiteral(".lock");
}

bool isTag(const QString& text)
{
    static const QRegularExpression tag(QStringLiteral("^[0-9a-f]{8}$"));
    return tag.match(text).hasMatch();
}

/// This run's locks, one a base folder; released when the process ends, which also
/// happens (by the operating system) when it is killed. Each keeps the paths it needs at
/// the end: other static objects (this run's tag among them) may be gone by then.
class HeldLocks {
public:
    ~HeldLocks()
    {
        for (const Held& held : m_locks) {
            // Its preview folder is empty once the preview closed; a folder with files
            // in it is left for the next start, which clears it.
            ::rmdir(held.tempFolder.constData());
            ::unlink(held.lockFile.constData());
            ::close(held.fd);
        }
    }
    bool holds(const QString& baseFolder) const { return m_locks.contains(baseFolder); }
    void add(const QString& baseFolder, int fd)
    {
        m_locks.insert(baseFolder, {fd, QFile::encodeName(lockPath(baseFolder, runTag())),
                                    QFile::encodeName(runTempFolder(baseFolder))});
    }

private:
    struct Held {
        int fd;
        QByteArray lockFile;
        QByteArray tempFolder;
    };
    QHash<QString, Held> m_locks;
};

HeldLocks& heldLocks()
{
    static HeldLocks locks;
    return locks;
}

/// Removes the files of a folder below TEMP/ that belonged to an ended run, then the
/// folder. Nothing is followed: a symbolic link in its place or inside it is removed as
/// a link, and a folder inside it stays (the run made none).
void removeRunFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || !info.isDir())
        return;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        removeFile(dir.filePath(name));
    QDir().rmdir(folder);
}

} // namespace

QString runTempFolder(const QString& baseFolder, const QString& tag)
{
    return baseFolder + QStringLiteral("TEMP/") + tag + QLatin1Char('/');
}

QString runTempFolder(const QString& baseFolder)
{
    return runTempFolder(baseFolder, runTag());
}

bool holdRunLock(const QString& baseFolder)
{
    HeldLocks& locks = heldLocks();
    if (locks.holds(baseFolder))
        return true;
    if (!QDir().mkpath(lockFolder(baseFolder)))
        return false;
    // The lock file is locked before it gets its name, so no other run ever sees it
    // unlocked and takes this run for one that ended.
    const QByteArray unnamed = QFile::encodeName(lockFolder(baseFolder) + QLatin1Char('.') +
                                                 runTag() + QStringLiteral(".new"));
    const int fd = ::open(unnamed.constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
        ::write(fd, pid.constData(), size_t(pid.size())) < 0 ||
        ::rename(unnamed.constData(),
                 QFile::encodeName(lockPath(baseFolder, runTag())).constData()) != 0) {
        ::unlink(unnamed.constData());
        ::close(fd);
        return false;
    }
    locks.add(baseFolder, fd);
    return true;
}

bool runIsAlive(const QString& baseFolder, const QString& tag)
{
    if (tag == runTag())
        return true;
    const int fd = ::open(QFile::encodeName(lockPath(baseFolder, tag)).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false; // no lock file: the run ended and was cleared, or never took one
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

QStringList removeEndedRuns(const QString& baseFolder)
{
    QStringList cleared;
    const QDir locks(lockFolder(baseFolder));
    const QStringList names = locks.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        // "<tag>.lock", or ".<tag>.new" of a run killed while it took its lock.
        const bool named = name.endsWith(QLatin1String(".lock"));
        const bool unnamed =
            name.startsWith(QLatin1Char('.')) && name.endsWith(QLatin1String(".new"));
        const QString tag = named ? name.chopped(5) : name.mid(1).chopped(4);
        if (!(named || unnamed) || !isTag(tag) || tag == runTag())
            continue;
        const QByteArray path = QFile::encodeName(locks.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        // Holding the lock, this start is sure the run has ended, and no other start
        // clears the same run at the same time.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
    // Then the preview folders of runs without a lock file: those just cleared, and any
    // whose clearing a crash interrupted.
    const QDir temp(baseFolder + QStringLiteral("TEMP"));
    for (const QString& tag : temp.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (isTag(tag) && !runIsAlive(baseFolder, tag)) {
            removeRunFolder(runTempFolder(baseFolder, tag));
            cleared << tag;
        }
    }
    return cleared;
}

int otherLiveRuns(const QString& baseFolder)
{
    int live = 0;
    for (const QString& name :
         QDir(lockFolder(baseFolder)).entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString tag = name.chopped(5);
        if (isTag(tag) && tag != runTag() && runIsAlive(baseFolder, tag))
            ++live;
    }
    return live;
}
